// Fuzz target: the settings file reader over arbitrary file text. Whatever
// the file held, the settings written into it must read back unchanged, and
// the rendered file must parse to the same lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/profile_file.h"
#include "shell/rules/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 16) return 0;
  orva::platform::ProfileFile file;
  file.parse(std::string_view(reinterpret_cast<const char*>(data), size));
  orva::Settings settings = orva::readSettings(file, size % 2 == 0);
  orva::writeSettings(settings, file);
  orva::platform::ProfileFile again;
  again.parse(file.render());
  if (again.lines() != file.lines()) std::abort();
  orva::Settings back = orva::readSettings(again, size % 2 == 0);
  if (std::memcmp(&back, &settings, sizeof settings) != 0) std::abort();
  return 0;
}

// Fuzz target: the M3U line walk over arbitrary list text, with the path and
// title copies into entry-sized buffers and the duration reading. Titles are
// consumed on every other path line so both pending paths are exercised.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/codepage.h"
#include "playlist/m3u.h"
#include "playlist/playlist_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > static_cast<size_t>(orva::kMaxPlaylistBytes)) return 0;
  orva::platform::setActiveCodePage(size % 2 == 0 ? orva::platform::CodePage::Cp932 : orva::platform::CodePage::Utf8);
  std::string_view text(reinterpret_cast<const char*>(data), size);
  orva::M3uWalker walker(text);
  orva::M3uPathLine line{};
  size_t lines = 0;
  auto* entry = orva::newPlaylistEntry();
  if (entry == nullptr) return 0;
  while (walker.next(line)) {
    if (++lines > size) std::abort();  // every path line consumes at least one byte
    if (line.path.empty() || line.path.data() < text.data() ||
        line.path.data() + line.path.size() > text.data() + size) {
      std::abort();
    }
    orva::copyText(entry->path, orva::kMaxPath, std::string(line.path).c_str());
    if (std::strlen(entry->path) >= orva::kMaxPath) std::abort();
    orva::fileNamePart(entry->path);
    orva::extensionPart(entry->path);
    if (line.hasTitle) {
      orva::copyText(entry->displayText, orva::kDisplayTextSize, std::string(line.title).c_str());
      entry->streamInfo.durationSeconds = orva::parseDuration(line.durationText);
      if (lines % 2 == 0) walker.consumeTitle();
    }
  }
  std::string out;
  orva::appendM3uEntry(out, true, entry->streamInfo.durationSeconds, entry->displayText, entry->path);
  // What is written reads back as one entry with the same path.
  orva::M3uWalker back(out);
  if (entry->path[0] != '\0' && entry->path[0] != '#' && (!back.next(line) || line.path != entry->path)) std::abort();
  delete entry;
  return 0;
}

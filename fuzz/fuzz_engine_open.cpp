// Fuzz target: arbitrary bytes as a file that the engine opens, describes
// and closes, and walks for leading empty frames.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "engine/engine_testing.h"
#include "orva_engine.h"
#include "platform/file.h"

namespace {

std::string gPath;

void removeFile() { orva::platform::removeFile(gPath.c_str()); }

const std::string& scratchPath() {
  if (gPath.empty()) {
    std::random_device random;
    gPath =
        (std::filesystem::temp_directory_path() / ("orva_fuzz_engine_" + std::to_string(random()) + ".bin")).string();
    std::atexit(removeFile);
    orva::setEngineSleepsForTesting(false);
    engineInit();
  }
  return gPath;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const std::string& path = scratchPath();
  {
    orva::platform::File file;
    if (!file.open(path.c_str(), orva::platform::FileMode::CreateAlways)) return 0;
    if (size > 0 && file.write(data, static_cast<int64_t>(size)) != static_cast<int64_t>(size)) return 0;
  }
  const DecoderOptions options{static_cast<int32_t>(size % 3), static_cast<int32_t>((size / 3) % 2), 24000};
  engineSetDecoderOptions(&options);

  StreamInfo info{};
  if (engineOpen(path.c_str(), &info) == 1) {
    FileInfo fileInfo{};
    engineGetHeaderInfo(&fileInfo);
    Id3v1Record tag{};
    engineGetTag(&tag);
    engineGetTotalSamples();
    engineGetNominalDuration();
    engineGetBitRate();
    engineClose();
  }
  engineCountLeadingEmptyFrames(path.c_str());
  return 0;
}

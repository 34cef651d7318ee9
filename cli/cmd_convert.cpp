// orva-cli convert: moves a file's MPEG audio between the bare form and the
// RIFF containers, or removes a 128-byte leading header. The file is
// replaced whole or, on any failure, left as it was.
#include <cstdio>
#include <cstring>

#include "cli/commands.h"
#include "orva_engine.h"

namespace orva::cli {
namespace {

constexpr char kConvertUsage[] =
    "usage: orva-cli convert rmp3|wave|mpeg|strip FILE...\n"
    "  rmp3   bare MPEG audio to a RIFF MP3 file\n"
    "  wave   bare MPEG audio to a RIFF WAVE file holding MPEG audio\n"
    "  mpeg   a RIFF file back to bare MPEG audio (tag and Lyrics3 kept)\n"
    "  strip  remove the 128-byte header of a file whose first byte is 0\n";

}  // namespace

int runConvertCommand(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kConvertUsage, stderr);
    return 2;
  }
  int32_t (*convert)(const char*) noexcept = nullptr;
  if (std::strcmp(argv[0], "rmp3") == 0) convert = convertToRmp3;
  if (std::strcmp(argv[0], "wave") == 0) convert = convertToWaveMpeg;
  if (std::strcmp(argv[0], "mpeg") == 0) convert = convertToMpeg;
  if (std::strcmp(argv[0], "strip") == 0) convert = stripLeadingHeader;
  if (convert == nullptr) {
    std::fputs(kConvertUsage, stderr);
    return 2;
  }
  int result = 0;
  for (int i = 1; i < argc; ++i) {
    if (convert(argv[i])) {
      std::printf("%s: done\n", argv[i]);
    } else {
      std::fprintf(stderr, "orva-cli: %s: %s (the file is unchanged)\n", argv[i],
                   engineGetStatusText(engineGetStatus()));
      result = 1;
    }
  }
  return result;
}

}  // namespace orva::cli

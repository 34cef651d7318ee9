// orva-cli decode: decodes an MPEG audio file to a PCM WAV file through the
// engine (engineDecodeToWave), with the decoder's output variants and the
// equalizer and the gapless switch set first.
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "orva_engine.h"
#include "platform/file.h"
#include "platform/sleep.h"

namespace orva::cli {
namespace {

struct DecodeArgs {
  const char* input = nullptr;
  const char* output = nullptr;
  DecoderOptions options{0, 0, 24000};
  bool equalizer = false;
  int32_t bands[10] = {};
  bool gapless = false;
};

void printUsage(std::FILE* to) {
  std::fputs(
      "usage: orva-cli decode FILE -o OUT.wav [options]\n"
      "  --shift N        down-sampling: 0 full, 1 half, 2 quarter rate\n"
      "  --channels MODE  stereo (as the stream), mix, left or right\n"
      "  --8bit           8-bit unsigned samples instead of 16-bit\n"
      "  --bandwidth HZ   highest frequency decoded (default 24000)\n"
      "  --eq V0,...,V9   ten equalizer bands in tenths of a decibel\n"
      "  --gapless        leave out the encoder's delay and padding when the\n"
      "                   file's first frame records them\n",
      to);
}

bool parseInt(const char* text, long lo, long hi, int32_t& out) {
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || v < lo || v > hi) return false;
  out = static_cast<int32_t>(v);
  return true;
}

bool parseBands(const char* text, int32_t* bands) {
  std::string s(text);
  size_t pos = 0;
  for (int b = 0; b < 10; ++b) {
    const size_t comma = s.find(',', pos);
    const bool last = b == 9;
    if (last != (comma == std::string::npos)) return false;
    const std::string item = s.substr(pos, last ? std::string::npos : comma - pos);
    if (!parseInt(item.c_str(), -100000, 100000, bands[b])) return false;
    pos = comma + 1;
  }
  return true;
}

// Returns 0 when parsed, else the exit status to return.
int parseArgs(int argc, char** argv, DecodeArgs& a) {
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "-h" || arg == "--help") {
      printUsage(stdout);
      return -1;
    } else if (arg == "-o" && hasValue) {
      a.output = argv[++i];
    } else if (arg == "--shift" && hasValue) {
      if (!parseInt(argv[++i], 0, 2, a.options.downsampleShift)) return 2;
    } else if (arg == "--channels" && hasValue) {
      static const char* kModes[4] = {"stereo", "mix", "left", "right"};
      const std::string m = argv[++i];
      int32_t mode = -1;
      for (int32_t k = 0; k < 4; ++k) {
        if (m == kModes[k]) mode = k;
      }
      if (mode < 0) return 2;
      a.options.outputFlags = (a.options.outputFlags & ~3) | mode;
    } else if (arg == "--gapless") {
      a.gapless = true;
    } else if (arg == "--8bit") {
      a.options.outputFlags |= 8;
    } else if (arg == "--bandwidth" && hasValue) {
      if (!parseInt(argv[++i], 1, 1000000, a.options.bandwidthLimitHz)) return 2;
    } else if (arg == "--eq" && hasValue) {
      if (!parseBands(argv[++i], a.bands)) return 2;
      a.equalizer = true;
    } else if (!arg.empty() && arg[0] != '-' && a.input == nullptr) {
      a.input = argv[i];
    } else {
      return 2;
    }
  }
  return a.input != nullptr && a.output != nullptr ? 0 : 2;
}

std::atomic<int32_t> resyncs{0};

void countEvents(int32_t event, int32_t) {
  if (event == ENGINE_EVENT_RESYNC) resyncs.fetch_add(1);
}

// PCM bytes of one decoded frame, from what the engine reports of the stream.
int64_t outputBytesPerFrame(const FileInfo& f, const DecoderOptions& options) {
  int64_t samples = f.layer == 1 ? 384 : 1152;
  if (f.layer == 3 && f.version != 1) samples /= 2;
  samples >>= options.downsampleShift;
  const int64_t bytesPerSample = (options.outputFlags & 8) != 0 ? 1 : 2;
  return samples * f.channels * bytesPerSample;
}

}  // namespace

int runDecodeCommand(int argc, char** argv) {
  DecodeArgs a;
  const int parsed = parseArgs(argc, argv, a);
  if (parsed == -1) return 0;
  if (parsed != 0) {
    std::fputs("orva-cli decode: bad arguments\n", stderr);
    printUsage(stderr);
    return 2;
  }
  engineInit();
  // The designed option call takes only the stream's channels or the mix;
  // the output-variant call adds left, right and 8-bit samples.
  DecoderOptions plain = a.options;
  plain.outputFlags = 0;
  engineSetDecoderOptions(&plain);
  engineSetDecoderOutputFlags(a.options.outputFlags);
  engineSetEqualizer(a.equalizer ? a.bands : nullptr);
  engineSetGapless(a.gapless ? 1 : 0);
  resyncs = 0;
  engineSetCallback(countEvents);
  StreamInfo info{};
  if (engineOpen(a.input, &info) != 1) {
    std::fprintf(stderr, "orva-cli decode: no decodable MPEG audio in %s (%s)\n", a.input,
                 engineGetStatusText(engineGetStatus()));
    engineShutdown();
    return 1;
  }
  if (engineDecodeToWave(a.output) != 1) {
    const int32_t status = engineGetStatus();
    if (status == ENGINE_ERR_WAVE_CREATE) {
      std::fprintf(stderr, "orva-cli decode: cannot write %s\n", a.output);
    } else {
      std::fprintf(stderr, "orva-cli decode: no decodable MPEG audio in %s (%s)\n", a.input,
                   engineGetStatusText(status));
    }
    engineShutdown();
    return 1;
  }
  while (engineGetState(nullptr) != ENGINE_STOPPED) platform::sleepMs(5);
  FileInfo stream{};
  engineGetHeaderInfo(&stream);
  const int64_t frameBytes = outputBytesPerFrame(stream, a.options);
  platform::File written;
  const int64_t size = written.open(a.output, platform::FileMode::Read) ? written.size() : 0;
  const int32_t frames = frameBytes > 0 && size > 44 ? static_cast<int32_t>((size - 44) / frameBytes) : 0;
  written.close();
  engineClose();
  const int32_t status = engineGetStatus();
  engineShutdown();
  if (status == ENGINE_ERR_WRITE) {
    std::fprintf(stderr, "orva-cli decode: cannot write %s\n", a.output);
    return 1;
  }
  std::fprintf(stderr, "%s: %d frames, %d resyncs, %d Hz, %d ch, %d bit\n", a.input, frames, resyncs.load(),
               stream.sampleRate, stream.channels, (a.options.outputFlags & 8) != 0 ? 8 : 16);
  return 0;
}

}  // namespace orva::cli

// orva-cli encode: encodes a PCM WAV file into an MPEG Layer-3 stream through
// the engine's encoder entry points only, as any host would: open the
// source, start, poll the progress, and abort on Ctrl-C. On a terminal the
// progress is one redrawn bar; otherwise a plain line every tenth.
#include <chrono>
#include <cstdio>
#include <cstring>

#include "cli/commands.h"
#include "cli/terminal.h"
#include "orva_engine.h"
#include "platform/file.h"
#include "platform/sleep.h"

namespace orva::cli {
namespace {

constexpr int32_t kPollMs = 100;
constexpr int kBarWidth = 30;

void printUsage(std::FILE* to) {
  std::fputs(
      "usage: orva-cli encode IN.wav -o OUT.mp3\n"
      "  Encodes 8- or 16-bit PCM (mono or stereo, 8000 to 48000 Hz) into an\n"
      "  MPEG Layer-3 stream; stereo 44100 Hz becomes 192 kbit/s. An existing\n"
      "  OUT.mp3 is replaced only when the new stream is complete. Ctrl-C stops\n"
      "  early and keeps what was encoded.\n",
      to);
}

struct Progress {
  EncoderSourceInfo source{};
  std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
  int32_t bytesRead = 0;
  int32_t bytesWritten = 0;
  int lastTenth = -1;
};

double sourceBytesPerSecond(const EncoderSourceInfo& s) {
  return static_cast<double>(s.samplesPerSecond) * s.channels * s.bitsPerSample / 8.0;
}

double elapsedSeconds(const Progress& p) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - p.started).count();
}

// Seconds of audio encoded per second of wall time.
double speed(const Progress& p) {
  const double elapsed = elapsedSeconds(p);
  const double rate = sourceBytesPerSecond(p.source);
  return elapsed > 0 && rate > 0 ? p.bytesRead / rate / elapsed : 0;
}

int percentOf(const Progress& p) {
  return p.source.dataSize > 0 ? static_cast<int>(int64_t{p.bytesRead} * 100 / p.source.dataSize) : 100;
}

void showProgress(Progress& p, bool terminal) {
  const int percent = percentOf(p);
  if (terminal) {
    char bar[kBarWidth + 1];
    const int filled = percent * kBarWidth / 100;
    for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '.';
    bar[kBarWidth] = '\0';
    std::printf("\r[%s] %3d%%  %10d bytes  %6.1fx real time ", bar, percent, p.bytesWritten, speed(p));
    std::fflush(stdout);
    return;
  }
  if (percent / 10 == p.lastTenth) return;
  p.lastTenth = percent / 10;
  std::printf("%3d%%  %d bytes written  %.1fx real time\n", percent, p.bytesWritten, speed(p));
}

int64_t sizeOf(const char* path) {
  platform::File f;
  return f.open(path, platform::FileMode::Read) ? f.size() : -1;
}

int fail(const char* what, const char* path) {
  const int32_t status = engineGetStatus();
  std::fprintf(stderr, "orva-cli encode: %s %s: %s\n", what, path, engineGetStatusText(status));
  if (status == ENGINE_ERR_CONVERSION_OPEN) {
    std::fputs(
        "orva-cli encode: the source must be 8- or 16-bit PCM, mono or stereo, at 8000, 11025, 12000,\n"
        "  16000, 22050, 24000, 32000, 44100 or 48000 Hz\n",
        stderr);
  }
  engineShutdown();
  return 1;
}

// Polls until the conversion has ended; Ctrl-C asks it to stop once.
void waitForEnd(Progress& p, bool terminal) {
  bool abortAsked = false;
  int32_t read = 0, written = 0;
  while (encoderGetProgress(&read, &written) != 0) {
    if (read > 0) p.bytesRead = read;
    if (written > 0) p.bytesWritten = written;
    if (interruptRequested() && !abortAsked) abortAsked = encoderAbort() == 1;
    showProgress(p, terminal);
    platform::sleepMs(kPollMs);
  }
}

}  // namespace

int runEncodeCommand(int argc, char** argv) {
  const char* input = nullptr;
  const char* output = nullptr;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
      printUsage(stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "-o") == 0 && i + 1 < argc) {
      output = argv[++i];
    } else if (argv[i][0] != '-' && input == nullptr) {
      input = argv[i];
    } else {
      input = output = nullptr;
      break;
    }
  }
  if (input == nullptr || output == nullptr) {
    std::fputs("orva-cli encode: bad arguments\n", stderr);
    printUsage(stderr);
    return 2;
  }
  engineInit();
  Progress p;
  if (encoderOpenSource(input, &p.source) != 1) return fail("cannot encode", input);
  catchInterrupts();
  p.started = std::chrono::steady_clock::now();
  if (encoderStart(output) != 1) return fail("cannot start encoding to", output);
  const bool terminal = outputIsTerminal();
  waitForEnd(p, terminal);
  if (terminal) std::putchar('\n');
  const int32_t result = encoderGetResult();
  if (result == ENCODER_RESULT_FAILED) return fail("encoding failed for", output);
  // The counters read 0 once the conversion has ended: an early stop is
  // told by the last value seen.
  const int64_t encoded = result == ENCODER_RESULT_FINISHED ? p.source.dataSize : p.bytesRead;
  const double rate = sourceBytesPerSecond(p.source);
  std::printf("%s: %lld bytes, %.1f s of audio in %.2f s\n", output, static_cast<long long>(sizeOf(output)),
              rate > 0 ? static_cast<double>(encoded) / rate : 0, elapsedSeconds(p));
  engineShutdown();
  if (result == ENCODER_RESULT_ABORTED) {
    std::fprintf(stderr, "orva-cli encode: interrupted; %s holds what was encoded so far\n", output);
    return 130;
  }
  return 0;
}

}  // namespace orva::cli

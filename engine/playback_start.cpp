// Starting playback (see playback_start.h). Host's thread. Each start first
// forgets the last OS error, so what a failing start leaves there is its own
// reason (engineGetSystemErrorText).
#include "engine/playback_start.h"

#include <chrono>
#include <system_error>
#include <thread>

#include "decoder/decoder.h"
#include "engine/engine_state.h"
#include "engine/gapless.h"
#include "engine/playback_state.h"
#include "engine/playback_thread.h"
#include "engine/wave_file.h"
#include "output/kept_while_playing.h"
#include "output/output_queue.h"
#include "platform/os_error.h"
#include "platform/sleep.h"

namespace orva {
namespace {

constexpr int32_t kPcmStepsPerBlock = 5;
constexpr int32_t kStartPolls = 100;
constexpr int32_t kPollMs = 10;

bool threadRemains() {
  PlaybackRecord& p = gPlayback;
  if (!p.thread.joinable()) return false;
  // The host's callback may call in from the thread itself.
  if (p.thread.get_id() == std::this_thread::get_id()) return true;
  if (!p.threadDone.load()) return true;
  p.thread.join();
  return false;
}

int32_t pcmStepBytes() { return gEngine.header.outputBits == 8 ? kPcmBlock8Bit : kPcmBlock; }

// Fills the input buffer from the audio start; ENGINE_ERR_ARGUMENT when the
// first read brings nothing.
int32_t fillInput(int32_t& bytesRead) {
  PlaybackRecord& p = gPlayback;
  const int64_t size = int64_t{gEngine.header.maxFrameSize} * gEngine.settings.inputBlock;
  if (size <= 0 || size > INT32_MAX || !p.input.resize(static_cast<size_t>(size))) return ENGINE_ERR_ARGUMENT;
  p.inputSize = static_cast<int32_t>(size);
  const int64_t n = gEngine.file.read(p.input.data(), size);
  if (n <= 0) return ENGINE_ERR_ARGUMENT;
  bytesRead = static_cast<int32_t>(n);
  p.readPos = 0;
  p.unread = bytesRead;
  return ENGINE_OK;
}

// Starts the decoder on the first frame and steps past the VBR header frame.
bool startDecoder(int32_t bytesRead) {
  PlaybackRecord& p = gPlayback;
  if (!startDecoding(p.input.data(), bytesRead)) return false;
  DecoderOptions options{};
  getDecoderOptions(options);
  p.trimming = gaplessActive();
  p.span = openSourceSpan(options.downsampleShift);
  int32_t skip = gEngine.header.vbrHeaderFrameSize;
  if (skip < 0) skip = 0;
  if (skip > p.unread) skip = p.unread;
  p.readPos = skip;
  p.unread -= skip;
  return true;
}

int32_t openDevice() {
  const MpegFrameHeader& h = gEngine.header;
  if (outputOpen(OutputFormat{h.outputChannels, h.outputBits, h.outputSampleRate, gPlayback.block}) == 0) {
    return ENGINE_ERR_DEVICE_OPEN;
  }
  return ENGINE_OK;
}

int32_t createWave(const char* path) {
  PlaybackRecord& p = gPlayback;
  const MpegFrameHeader& h = gEngine.header;
  if (path == nullptr || path[0] == '\0') return ENGINE_ERR_WAVE_CREATE;
  if (!p.wave.open(path, platform::FileMode::CreateAlways)) {
    platform::recordLastSystemError("creating the WAV file");
    return ENGINE_ERR_WAVE_CREATE;
  }
  if (!writeWaveHeader(p.wave, h.outputChannels, h.outputSampleRate, h.outputBits)) {
    platform::recordLastSystemError("writing the WAV header");
    p.wave.close();
    return ENGINE_ERR_WAVE_CREATE;
  }
  return ENGINE_OK;
}

// Creates the thread and waits for it to report state 1.
int32_t launchThread() {
  PlaybackRecord& p = gPlayback;
  p.messages.open();  // posts from now on wait for the thread
  p.threadDone.store(false);
  playbackThreadsRunning().fetch_add(1);
  try {
    p.thread = std::thread([] {
      playbackThreadMain();
      gPlayback.threadDone.store(true);
      playbackThreadsRunning().fetch_sub(1);
    });
  } catch (const std::system_error& e) {
    playbackThreadsRunning().fetch_sub(1);
    platform::recordOsError(platform::OsErrorKind::Errno, e.code().value(), "creating the playback thread");
    p.messages.closeAndDiscard();
    p.threadDone.store(true);
    return ENGINE_ERR_THREAD_CREATE;
  }
  for (int32_t i = 0; i < kStartPolls; ++i) {
    platform::sleepMs(kPollMs);
    if (gEngine.state.load() != ENGINE_STOPPED || p.threadDone.load()) return ENGINE_OK;
  }
  return ENGINE_ERR_START_TIMEOUT;
}

void failClosingDevice() {
  outputClose();
  gPlayback.wave.close();
}

// Common start of the two device modes.
int32_t startWithDevice(int32_t mode, const char* wavePath) {
  engineSleep(100);
  platform::clearOsError();  // what follows explains only this start
  PlaybackRecord& p = gPlayback;
  if (gEngine.state.load() != ENGINE_STOPPED || threadRemains()) return ENGINE_ERR_BUSY;
  if (!gEngine.file.isOpen()) return ENGINE_ERR_NOT_OPEN;
  p.outputMode.store(mode);
  p.fadeOut.store(0);
  p.outputOpened.store(1);
  p.pcmBytesRead = 0;
  gEngine.file.seek(gEngine.audioStart);
  int32_t bytesRead = 0;
  if (!gEngine.pcmInput) {
    const int32_t filled = fillInput(bytesRead);
    if (filled != ENGINE_OK) return filled;
    p.block = gEngine.header.outputBytesPerFrame * gEngine.settings.outputBlock;
  } else {
    p.block = kPcmStepsPerBlock * pcmStepBytes();
  }
  if (p.block <= 0) return ENGINE_ERR_ARGUMENT;
  outputSetSleep(gEngine.settings.outputSleep);
  const int32_t opened = openDevice();
  if (opened != ENGINE_OK) return opened;
  if (!p.output.resize(static_cast<size_t>(p.block))) {
    failClosingDevice();
    return ENGINE_ERR_MEMORY;
  }
  if (!gEngine.pcmInput && !startDecoder(bytesRead)) {
    failClosingDevice();
    return ENGINE_ERR_DECODER_START;
  }
  if (mode == OUTPUT_PLAY_AND_FILE) {
    const int32_t created = createWave(wavePath);
    if (created != ENGINE_OK) {
      failClosingDevice();
      return created;
    }
  }
  const int32_t launched = launchThread();
  if (launched == ENGINE_ERR_THREAD_CREATE) failClosingDevice();
  return launched;
}

}  // namespace

bool reapPlaybackThread(int32_t milliseconds) {
  PlaybackRecord& p = gPlayback;
  for (int32_t waited = 0; p.thread.joinable() && !p.threadDone.load() && waited < milliseconds; waited += kPollMs) {
    platform::sleepMs(kPollMs);
  }
  return !threadRemains();
}

int32_t startPlay() { return startWithDevice(OUTPUT_PLAY, nullptr); }

int32_t startPlayToWave(const char* path) {
  if (gEngine.pcmInput) return -1;  // refused without a status
  return startWithDevice(OUTPUT_PLAY_AND_FILE, path);
}

int32_t startDecodeToWave(const char* path) {
  platform::clearOsError();
  PlaybackRecord& p = gPlayback;
  if (gEngine.state.load() != ENGINE_STOPPED || threadRemains()) return ENGINE_ERR_BUSY;
  if (!gEngine.file.isOpen()) return ENGINE_ERR_NOT_OPEN;
  p.outputMode.store(OUTPUT_FILE);
  p.fadeOut.store(0);
  p.pcmBytesRead = 0;
  const int32_t created = createWave(path);
  if (created != ENGINE_OK) return created;
  gEngine.file.seek(gEngine.audioStart);
  int32_t bytesRead = 0;
  if (gEngine.pcmInput) {
    // A PCM WAVE stream is written as it is, one PCM step at a time.
    p.block = pcmStepBytes();
  } else {
    const int32_t filled = fillInput(bytesRead);
    if (filled != ENGINE_OK) {
      p.wave.close();
      return filled;
    }
    p.block = gEngine.header.outputBytesPerFrame;
  }
  if (p.block <= 0 || !p.output.resize(static_cast<size_t>(p.block))) {
    p.wave.close();
    return ENGINE_ERR_ARGUMENT;
  }
  if (!gEngine.pcmInput && !startDecoder(bytesRead)) {
    p.wave.close();
    return ENGINE_ERR_DECODER_START;
  }
  const int32_t launched = launchThread();
  if (launched == ENGINE_ERR_THREAD_CREATE) p.wave.close();
  return launched;
}

}  // namespace orva

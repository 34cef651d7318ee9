// Transport requests (see transport.h). Host's thread.
#include "engine/transport.h"

#include <cstring>

#include "decoder/decoder.h"
#include "engine/engine_state.h"
#include "engine/playback_start.h"
#include "engine/playback_state.h"
#include "engine/playback_thread.h"
#include "engine/position.h"
#include "engine/status_register.h"
#include "output/output_queue.h"
#include "platform/sleep.h"
#include "platform/system.h"

namespace orva {
namespace {

constexpr int32_t kPostWaitMs = 500;
constexpr int32_t kStopPolls = 100;
constexpr int32_t kPollMs = 10;

// Posts and waits for the handling; false when no thread took the message.
bool postAndWait(const EngineMessage& message) {
  const uint64_t ticket = gPlayback.messages.post(message);
  if (ticket == 0) return false;
  gPlayback.messages.waitHandled(ticket, kPostWaitMs);
  return true;
}

EngineMessage messageOf(int32_t id, int64_t value = 0) {
  EngineMessage m;
  m.id = id;
  m.value = value;
  return m;
}

// Starts a new thread that begins at `sample`.
int32_t startAt(int64_t sample) {
  gPlayback.startSeek.store(sample);
  const int32_t started = startPlay();
  if (started == ENGINE_OK) return 1;
  gPlayback.startSeek.store(-1);
  setStatus(started);
  return 0;
}

}  // namespace

int32_t transportStop() {
  if (gEngine.state.load() == ENGINE_STOPPED) {
    setStatus(ENGINE_ERR_NOT_PLAYING);
    return 1;
  }
  const bool playingOut = !gPlayback.messages.isOpen();
  if (playingOut) outputReset();
  if (gPlayback.messages.post(messageOf(MSG_ENGINE_STOP)) != 0) reapPlaybackThread(kPostWaitMs);
  gPlayback.positionCache.store(0);
  gEngine.positionBase.store(0);
  for (int32_t i = 0; gEngine.state.load() != ENGINE_STOPPED; ++i) {
    if (i == kStopPolls) {
      setStatus(ENGINE_ERR_STOP_TIMEOUT);
      return 0;
    }
    // During the play-out a block may still go to the device after a reset.
    if (!gPlayback.messages.isOpen()) outputReset();
    platform::sleepMs(kPollMs);
  }
  reapPlaybackThread(kPostWaitMs);
  return 1;
}

int32_t transportPause() {
  const int32_t state = gEngine.state.load();
  if (state == ENGINE_STOPPED || state == ENGINE_PAUSED) {
    setStatus(ENGINE_ERR_NOT_PAUSABLE);
    return 1;
  }
  if (!postAndWait(messageOf(MSG_ENGINE_PAUSE))) pauseHandler();
  return 1;
}

int32_t transportResume() {
  if (gEngine.state.load() != ENGINE_PAUSED) return 1;
  if (!postAndWait(messageOf(MSG_ENGINE_RESUME))) resumeHandler();
  return 1;
}

int32_t transportSeekSamples(int64_t sample) {
  const int32_t state = gEngine.state.load();
  if (state == ENGINE_STOPPED) return 1;
  if (!postAndWait(messageOf(MSG_ENGINE_SEEK, sample))) {
    // The stream is playing out: play it again from the target. The new
    // thread seeks before it reads, so the seek cannot miss it.
    transportStop();
    if (startAt(sample) == 1 && state == ENGINE_PAUSED) transportPause();
  }
  outputRestoreLevels();
  return 1;
}

int32_t transportRestart() {
  const int32_t state = gEngine.state.load();
  if (state == ENGINE_STOPPED) {
    setStatus(ENGINE_ERR_NOT_PLAYING);
    return 0;
  }
  const int64_t sample = positionSamples();
  transportStop();
  if (startAt(sample) == 0) return 0;
  outputRestoreLevels();
  if (state == ENGINE_PAUSED) transportPause();
  return 1;
}

int32_t transportSetEqualizer(const int32_t* bandValues) {
  EngineMessage m = messageOf(MSG_ENGINE_EQUALIZER);
  // The values travel in the message: the caller's array may be gone by the
  // time the thread handles it.
  if (bandValues != nullptr) {
    m.hasBands = 1;
    std::memcpy(m.bands, bandValues, sizeof m.bands);
  }
  if (postAndWait(m)) return 1;
  return setEqualizerGains(bandValues);
}

namespace {

// Runs when the process exits (or the library is unloaded) without
// engineShutdown: stops a running playback so the device is closed and the
// thread is gone before the process tears down, each wait bounded. Where
// the platform forbids waiting at exit the thread is left alone; the
// records it uses are kept while it counts as running (kept_while_playing.h),
// so it cannot fault before the system ends it.
void playbackAtExit() {
  if (!platform::exitMayWait()) return;
  gPlayback.callbackEnabled.store(0);
  if (gEngine.state.load() != ENGINE_STOPPED) transportStop();
  if (!reapPlaybackThread(kPostWaitMs) && gPlayback.thread.joinable()) gPlayback.thread.detach();
}

// A static object, not an atexit handler: its destructor belongs to this
// library, so it runs when the library is unloaded as well as at exit,
// never after the code is gone (a handler registered with atexit may be
// called at exit from a library already unloaded).
struct PlaybackExitGuard {
  ~PlaybackExitGuard() { playbackAtExit(); }
};

}  // namespace

void playbackInit() {
  outputInit();
  // After outputInit: the system's device, made there, is destroyed after
  // the hook has stopped the thread that uses it.
  static PlaybackExitGuard exitGuard;
  outputSetWaitHook(playOutWaitStep);
  gPlayback.callback.store(nullptr);
  gPlayback.callbackEnabled.store(0);
  gPlayback.platformNt = platform::isWindowsNt() ? 1 : 0;
}

void playbackShutdown() {
  gPlayback.callbackEnabled.store(0);
  gPlayback.callback.store(nullptr);
  if (gPlayback.outputOpened.load() != 0 && gEngine.state.load() != ENGINE_STOPPED) transportStop();
  // A thread that will not finish is let go rather than ending the process.
  if (!reapPlaybackThread(kPostWaitMs) && gPlayback.thread.joinable()) gPlayback.thread.detach();
  if (gPlayback.outputOpened.load() != 0) {
    outputReset();
    outputClose();
  }
  outputFree();
  gPlayback.input.release();
  gPlayback.output.release();
}

}  // namespace orva

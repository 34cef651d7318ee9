// The playback, transport, position and output entry points of
// orva_engine.h: each checks what the engine allows, calls the routine and
// reports failure through the status register. Host's thread.
#include "decoder/units.h"
#include "engine/engine_state.h"
#include "engine/playback_start.h"
#include "engine/playback_state.h"
#include "engine/position.h"
#include "engine/status_register.h"
#include "engine/transport.h"
#include "orva_engine.h"
#include "output/kept_while_playing.h"
#include "output/output_queue.h"

namespace orva {

// Kept at exit while the playback thread may still use it: a host may
// return from main while it runs.
KeptWhilePlaying<PlaybackRecord> playbackRecord;
PlaybackRecord& gPlayback = playbackRecord.value;

namespace {

int32_t finish(int32_t status) { return status == ENGINE_OK ? 1 : engineFail(status); }

constexpr int32_t kMinRatePercent = 20;

int32_t restartIfPlaying() {
  if (gEngine.state.load() != ENGINE_STOPPED) transportRestart();
  return 1;
}

}  // namespace
}  // namespace orva

using namespace orva;

extern "C" {

int32_t enginePlay(void) noexcept { return finish(startPlay()); }

int32_t enginePlayToWave(const char* path) noexcept {
  const int32_t started = startPlayToWave(path);
  return started == -1 ? 0 : finish(started);
}

int32_t engineDecodeToWave(const char* path) noexcept { return finish(startDecodeToWave(path)); }
int32_t engineStop(void) noexcept { return transportStop(); }
int32_t enginePause(void) noexcept { return transportPause(); }
int32_t engineResume(void) noexcept { return transportResume(); }
int32_t engineRestart(void) noexcept { return transportRestart(); }

int32_t engineSeekSeconds(int32_t seconds) noexcept {
  const double scaled = static_cast<double>(seconds) / gEngine.timeScale;
  return transportSeekSamples(static_cast<int64_t>(scaled) * gEngine.header.outputSampleRate);
}

int32_t engineSeekFrame(int32_t frame) noexcept {
  const MpegFrameHeader& h = gEngine.header;
  const int64_t bytes = int64_t{frame} * h.outputBytesPerFrame;
  return transportSeekSamples(units::bytesToSamples(bytes, h.outputBits, h.outputChannels));
}

int32_t engineSeekSamples(int32_t sample) noexcept { return transportSeekSamples(sample); }
int32_t engineSetEqualizer(const int32_t* bandValues) noexcept { return transportSetEqualizer(bandValues); }

int32_t engineGetState(int32_t* positionSeconds) noexcept {
  const int32_t state = gEngine.state.load();
  const int32_t seconds = orva::positionSeconds();
  if (positionSeconds != nullptr) *positionSeconds = seconds;
  return state;
}

int32_t engineGetPositionMs(void) noexcept { return positionMilliseconds(); }
int32_t engineGetFrameIndex(void) noexcept { return positionFrameIndex(); }
int32_t engineGetPositionSamples(void) noexcept { return units::clampToInt32(positionSamples()); }

int32_t engineSetVolume(int32_t left, int32_t right) noexcept { return outputSetVolume(left, right); }

int32_t engineGetVolume(int32_t* left, int32_t* right) noexcept {
  int32_t l = 0, r = 0;
  outputGetVolume(&l, &r);
  if (left != nullptr) *left = l;
  if (right != nullptr) *right = r;
  return 1;
}

static_assert(ENGINE_DEVICE_SILENT == kSilentDevice && ENGINE_DEVICE_DEFAULT == kWaveMapper);

int32_t engineSetDevice(int32_t deviceId) noexcept {
  outputSetDevice(deviceId);
  return 1;
}

int32_t engineGetVolumeCaps(void) noexcept {
  const uint32_t support = outputGetCaps();
  setDetailCode(static_cast<int32_t>(support));
  if (support & kCapsLrVolume) return 2;
  return (support & kCapsVolume) ? 1 : 0;
}

int32_t engineSetSoftVolume(int32_t left, int32_t right) noexcept {
  outputSetLevels(left, right);
  return 1;
}

int32_t engineGetSoftVolume(int32_t* left, int32_t* right) noexcept { return outputGetLevels(left, right); }

int32_t engineSetFadeIn(int32_t on) noexcept {
  outputSetFadeIn(on);
  return 1;
}

int32_t engineSetFadeOutAtEnd(int32_t on) noexcept {
  outputSetFadeOutAtEnd(on);
  return 1;
}

int32_t engineFadeOutAndStop(void) noexcept {
  int32_t left = 0, right = 0;
  outputGetVolume(&left, &right);
  gPlayback.savedLeft.store(left);
  gPlayback.savedRight.store(right);
  gPlayback.fadeLeft.store(left);
  gPlayback.fadeRight.store(right);
  gPlayback.fadeOut.store(1);
  return left;
}

int32_t engineSetRatePercent(int32_t percent) noexcept {
  if (percent < kMinRatePercent) return engineFail(ENGINE_ERR_ARGUMENT);
  outputSetRatePercent(percent);
  return restartIfPlaying();
}

int32_t engineGetRatePercent(void) noexcept { return outputGetRatePercent(); }

int32_t engineSetCueMode(int32_t factor, int32_t blockCount) noexcept {
  if (gPlayback.platformNt != 0) return engineFail(ENGINE_ERR_CUE_ON_NT);
  if (factor <= 0 || blockCount <= 0) return engineFail(ENGINE_ERR_ARGUMENT);
  if (factor == 1) {
    gEngine.settings.outputBlock = gEngine.savedOutputBlock;
    gPlayback.cueMode = 0;
  } else {
    if (gPlayback.cueMode == 0) gEngine.savedOutputBlock = gEngine.settings.outputBlock;
    gEngine.settings.outputBlock = blockCount;
    gPlayback.cueMode = 1;
  }
  outputSetCueFactor(factor);
  return restartIfPlaying();
}

int32_t engineGetCueFactor(void) noexcept { return outputGetCueFactor(); }

int32_t engineSetCallback(EngineCallback callback) noexcept {
  if (gEngine.state.load() != ENGINE_STOPPED) return engineFail(ENGINE_ERR_BUSY);
  gPlayback.callback.store(callback);
  gPlayback.callbackEnabled.store(1);
  return 1;
}

int32_t engineEnableCallback(void) noexcept {
  gPlayback.callbackEnabled.store(1);
  return 1;
}

int32_t engineDisableCallback(void) noexcept {
  gPlayback.callbackEnabled.store(0);
  return 1;
}

}  // extern "C"

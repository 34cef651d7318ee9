// The flat engine interface of orva_engine.h. Each entry point checks the
// engine's state, calls the routine that does the work and turns a failure
// into the status code. Nothing here throws; all calls come from the host's
// one calling thread.
#include <cstring>

#include "decoder/decoder.h"
#include "decoder/frame_header.h"
#include "engine/empty_frames.h"
#include "engine/encoder_state.h"
#include "engine/engine_state.h"
#include "engine/gapless.h"
#include "engine/status_register.h"
#include "engine/status_text.h"
#include "engine/stream_info.h"
#include "engine/stream_open.h"
#include "engine/tag_access.h"
#include "engine/transport.h"
#include "orva_engine.h"
#include "platform/os_error.h"
#include "tags/id3v1.h"
#include "tags/id3v1_file.h"

namespace orva {
namespace {

// 1 on success, else the status set and 0.
int32_t finish(int32_t status) { return status == ENGINE_OK ? 1 : engineFail(status); }

// Down-sampling shift to playback-speed factor: full rate plays 4 units.
double rateFactor(int32_t shift) { return shift == 0 ? 4.0 : (shift == 1 ? 2.0 : 1.0); }

}  // namespace
}  // namespace orva

using namespace orva;

extern "C" {

int32_t engineInit(void) noexcept {
  gEngine.file.close();
  gEngine.state = ENGINE_STOPPED;
  setDetailCode(0);
  initDecoder();  // tables, and the decoder options at their defaults
  gEngine.gapless = 0;
  setEqualizerGains(nullptr);
  playbackInit();
  encoder::encoderSetUp();
  return 1;
}

int32_t engineShutdown(void) noexcept {
  engineSleep(50);
  playbackShutdown();
  encoder::encoderCleanUp();
  gEngine.file.close();
  engineSleep(50);
  return 1;
}

int32_t engineSetSettings(const DecoderSettings* settings) noexcept {
  if (gEngine.state != ENGINE_STOPPED) return engineFail(ENGINE_ERR_BUSY);
  if (settings == nullptr || settings->inputBlock <= 0 || settings->outputBlock <= 0 || settings->inputSleep < 0 ||
      settings->outputSleep < 0) {
    return engineFail(ENGINE_ERR_ARGUMENT);
  }
  gEngine.settings = *settings;
  gEngine.savedOutputBlock = settings->outputBlock;
  return 1;
}

DecoderSettings* engineGetSettings(DecoderSettings* settings) noexcept {
  if (settings == nullptr) {
    engineFail(ENGINE_ERR_ARGUMENT);
    return nullptr;
  }
  *settings = gEngine.settings;
  return settings;
}

const char* engineGetStatusText(int32_t status) noexcept { return statusText(status); }

int32_t engineGetVersion(void) noexcept { return kEngineVersion; }
int32_t engineGetStatus(void) noexcept { return status(); }
int32_t engineGetDetailCode(void) noexcept { return detailCode(); }

int32_t engineGetSystemErrorText(char* buffer, int32_t size) noexcept {
  if (buffer == nullptr || size < 1) {
    engineFail(ENGINE_ERR_ARGUMENT);
    return -1;
  }
  return platform::formatOsError(platform::lastOsError(), buffer, size);
}

int32_t engineOpen(const char* path, StreamInfo* info) noexcept {
  if (info == nullptr) return engineFail(ENGINE_ERR_ARGUMENT);
  return finish(openStream(path, *info));
}

int32_t engineClose(void) noexcept { return finish(closeStream()); }

int32_t engineGetHeaderInfo(FileInfo* info) noexcept {
  if (info == nullptr) return engineFail(ENGINE_ERR_ARGUMENT);
  return finish(fillHeaderInfo(*info));
}

int32_t engineGetNominalDuration(void) noexcept { return gEngine.nominalDurationSeconds; }
int32_t engineGetTotalSamples(void) noexcept { return totalSamples(); }
int32_t engineGetBitRate(void) noexcept { return currentKbps(); }

int32_t engineGetTag(Id3v1Record* tag) noexcept {
  if (tag == nullptr) return engineFail(ENGINE_ERR_ARGUMENT);
  return finish(copyOpenFileTag(*tag));
}

int32_t engineGetGenreName(Id3v1Record* tag) noexcept {
  if (tag == nullptr) return engineFail(ENGINE_ERR_ARGUMENT);
  return finish(fillGenreName(*tag));
}

int32_t engineCountLeadingEmptyFrames(const char* path) noexcept {
  int32_t failure = ENGINE_OK;
  const int32_t count = countLeadingEmptyFrames(path, failure);
  if (failure != ENGINE_OK) engineFail(failure);
  return count;
}

int32_t engineSetDecoderOptions(const DecoderOptions* options) noexcept {
  if (gEngine.state != ENGINE_STOPPED) return engineFail(ENGINE_ERR_BUSY);
  if (options == nullptr || options->downsampleShift < 0 || options->downsampleShift > 2 || options->outputFlags < 0 ||
      options->outputFlags > 1 || options->bandwidthLimitHz <= 0) {
    return engineFail(ENGINE_ERR_ARGUMENT);
  }
  gEngine.timeScale = rateFactor(gEngine.openDownsampleShift) / rateFactor(options->downsampleShift);
  return setDecoderOptions(*options);
}

int32_t engineSetDecoderOutputFlags(int32_t flags) noexcept {
  if (gEngine.state != ENGINE_STOPPED) return engineFail(ENGINE_ERR_BUSY);
  if ((flags & ~(3 | 8)) != 0) return engineFail(ENGINE_ERR_ARGUMENT);
  DecoderOptions options{};
  getDecoderOptions(options);
  options.outputFlags = flags;
  return setDecoderOptions(options);
}

int32_t engineGetDecoderOptions(DecoderOptions* options) noexcept {
  if (options == nullptr) return engineFail(ENGINE_ERR_ARGUMENT);
  return getDecoderOptions(*options);
}

int32_t engineSetClampPosition(int32_t clamp) noexcept {
  gEngine.clampPosition = clamp != 0 ? 1 : 0;
  return 1;
}

int32_t engineSetGapless(int32_t on) noexcept {
  if (gEngine.state != ENGINE_STOPPED) return engineFail(ENGINE_ERR_BUSY);
  gEngine.gapless = on != 0 ? 1 : 0;
  refreshGaplessDuration();
  return 1;
}

int32_t engineGetGapless(void) noexcept { return gEngine.gapless; }

int32_t readId3v1File(const char* path, Id3v1Record* tag) noexcept { return finish(tagReadId3v1File(path, tag)); }
int32_t readId3v11File(const char* path, Id3v11Record* tag) noexcept { return finish(tagReadId3v11File(path, tag)); }

int32_t writeId3v1Tag(const char* path, Id3v1Record* tag, int32_t refreshNowPlaying, int32_t create) noexcept {
  uint8_t written[kId3v1Size];
  const int32_t code = tagWriteId3v1(path, tag, create, gEngine.lyricsPlacement, written);
  if (code == ENGINE_OK && refreshNowPlaying == 1) refreshOpenFileTag(written);
  return finish(code);
}

int32_t writeId3v11Tag(const char* path, Id3v11Record* tag, int32_t refreshNowPlaying, int32_t create) noexcept {
  uint8_t written[kId3v1Size];
  const int32_t code = tagWriteId3v11(path, tag, create, gEngine.lyricsPlacement, written);
  if (code == ENGINE_OK && refreshNowPlaying == 1) refreshOpenFileTag(written);
  return finish(code);
}

}  // extern "C"

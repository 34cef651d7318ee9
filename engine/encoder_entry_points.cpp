// The encoder's entry points of orva_engine.h: one-line forwarders into the
// encoder's state machine that turn a failure into the status code.
#include <cstddef>

#include "engine/encoder_state.h"
#include "engine/engine_state.h"
#include "orva_engine.h"

static_assert(sizeof(EncoderSourceInfo) == 16);
static_assert(offsetof(EncoderSourceInfo, channels) == 0);
static_assert(offsetof(EncoderSourceInfo, bitsPerSample) == 4);
static_assert(offsetof(EncoderSourceInfo, samplesPerSecond) == 8);
static_assert(offsetof(EncoderSourceInfo, dataSize) == 12);

namespace {

int32_t finish(int32_t status) { return status == ENGINE_OK ? 1 : orva::engineFail(status); }

}  // namespace

extern "C" {

int32_t encoderOpenSource(const char* path, EncoderSourceInfo* info) noexcept {
  EncoderSourceInfo ignored{};
  return finish(orva::encoder::openSource(path, info != nullptr ? *info : ignored));
}

int32_t encoderStart(const char* destinationPath) noexcept {
  return finish(orva::encoder::startConversion(destinationPath));
}

int32_t encoderAbort(void) noexcept { return finish(orva::encoder::abortConversion()); }

int32_t encoderGetProgress(int32_t* bytesRead, int32_t* bytesWritten) noexcept {
  return orva::encoder::conversionProgress(bytesRead, bytesWritten);
}

int32_t encoderGetResult(void) noexcept { return orva::encoder::lastConversionResult(); }

}  // extern "C"

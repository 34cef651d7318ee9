// Play positions (see position.h).
#include "engine/position.h"

#include <cmath>

#include "decoder/units.h"
#include "engine/engine_state.h"
#include "engine/playback_state.h"
#include "output/output_queue.h"

namespace orva {
namespace {

bool fileOnly() { return gPlayback.outputMode.load() == OUTPUT_FILE; }

int64_t writtenSamples() {
  const MpegFrameHeader& h = gEngine.header;
  return units::bytesToSamples(gPlayback.waveBytes.load(), h.outputBits, h.outputChannels);
}

}  // namespace

int64_t positionSamples() {
  const int64_t played = fileOnly() ? writtenSamples() : outputGetPosition();
  return played + gEngine.positionBase.load();
}

double positionSecondsExact() {
  const int32_t rate = gEngine.header.outputSampleRate;
  if (rate <= 0) return 0;
  if (fileOnly()) return static_cast<double>(positionSamples() / rate);
  return static_cast<double>(positionSamples()) * 1000.0 / rate / 1000.0 * gEngine.timeScale;
}

int32_t positionSeconds() {
  if (gEngine.header.outputSampleRate <= 0) return 0;
  int32_t seconds = units::clampToInt32(static_cast<int64_t>(positionSecondsExact()));
  if (gEngine.clampPosition != 0 && seconds > gEngine.durationSeconds) seconds = gEngine.durationSeconds;
  gPlayback.positionCache.store(seconds);
  return seconds;
}

int32_t positionMilliseconds() {
  if (gEngine.header.outputSampleRate <= 0 || gEngine.durationSeconds <= 0) return 0;
  const double nominal = gEngine.nominalDurationSeconds;
  const double ms = std::trunc(nominal / gEngine.durationSeconds * positionSecondsExact() * 1000.0);
  const double cap = nominal * 1000.0;
  return units::clampToInt32(static_cast<int64_t>(ms < cap ? ms : cap));
}

int32_t positionFrameIndex() {
  const MpegFrameHeader& h = gEngine.header;
  if (h.outputBytesPerFrame <= 0) return 0;
  const int64_t bytes = units::samplesToBytes(positionSamples(), h.outputBits, h.outputChannels);
  return units::clampToInt32(bytes / h.outputBytesPerFrame);
}

int32_t reportedSeconds() {
  const int32_t rate = gEngine.header.outputSampleRate;
  if (rate <= 0) return 0;
  return units::clampToInt32(static_cast<int64_t>(static_cast<double>(positionSamples() / rate) * gEngine.timeScale));
}

}  // namespace orva

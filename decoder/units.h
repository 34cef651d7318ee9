// Unit conversions between PCM bytes, samples and seconds, and the nominal
// frame time. Pure functions; the engine, the playback thread and the tag
// code compute durations and positions with them.
#pragma once

#include <cstdint>
#include <limits>

namespace orva::units {

// Byte counts from here on are divided before the multiplication by 8, the
// rule that kept the original 32-bit arithmetic from overflowing. The values
// are 64-bit here, but the rule stays because it decides the results.
inline constexpr int64_t kLargeByteCount = int64_t{1} << 28;

constexpr int64_t bytesToSamples(int64_t bytes, int32_t bits, int32_t channels) {
  if (bits <= 0 || channels <= 0) return 0;
  if (bytes >= kLargeByteCount) return bytes / bits / channels * 8;
  return bytes * 8 / bits / channels;
}

constexpr int64_t samplesToSeconds(int64_t samples, int32_t sampleRate) {
  return sampleRate <= 0 ? 0 : samples / sampleRate;
}

constexpr int64_t samplesToBytes(int64_t samples, int32_t bits, int32_t channels) {
  return samples * bits * channels / 8;
}

constexpr int32_t clampToInt32(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

// Milliseconds per MPEG-1 frame by layer and sampling-rate index: 384 or
// 1152 samples at 44100, 48000 and 32000 Hz, as single-precision values.
inline constexpr double kFrameTimeMs[3][3] = {
    {8.707483291625977, 8.0, 12.0},
    {26.12244987487793, 24.0, 36.0},
    {26.12244987487793, 24.0, 36.0},
};

// Whole milliseconds of one frame. MPEG-2 and MPEG-2.5 run at half and a
// quarter of the MPEG-1 rates, and their Layer III frames hold half the
// samples, so the MPEG-1 time is scaled by the rate ratio and halved for
// Layer III there; MPEG-1 and MPEG-2 Layer III keep the plain table value.
constexpr int32_t frameTimeMs(int32_t version, int32_t layer, int32_t sampleRateIndex) {
  if (version < 1 || version > 3 || layer < 1 || layer > 3 || sampleRateIndex < 0 || sampleRateIndex > 2) {
    return 0;
  }
  int32_t factor = version == 1 ? 1 : (version == 2 ? 2 : 4);
  if (layer == 3 && version != 1) factor /= 2;
  return static_cast<int32_t>(kFrameTimeMs[layer - 1][sampleRateIndex] * factor);
}

// Nominal duration in whole seconds: trunc(frame time) x frames / 1000.
constexpr int64_t nominalSeconds(int32_t version, int32_t layer, int32_t sampleRateIndex, uint32_t frameCount) {
  return int64_t{frameTimeMs(version, layer, sampleRateIndex)} * frameCount / 1000;
}

}  // namespace orva::units

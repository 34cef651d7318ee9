// Equalizer gains: ten band values in tenths of a decibel become the 32
// subband gains that the full-rate synthesis routines apply. Called on the
// playback thread while playing, on the caller's thread otherwise.
#include <cmath>

#include "decoder/decoder.h"
#include "decoder/decoder_state.h"

namespace orva {
namespace {

// First subband of each band (the last band runs to subband 31).
constexpr int8_t kBandFirstSubband[11] = {0, 1, 2, 3, 4, 5, 6, 8, 12, 20, 32};

}  // namespace

int32_t setEqualizerGains(const int32_t* bandValues) {
  EqualizerState& eq = gDecoder.equalizer;
  if (bandValues == nullptr) {
    eq.on = 0;
    return 1;
  }
  for (int b = 0; b < 10; ++b) {
    // Beyond 120 dB a gain could only overflow the float sums into infinities.
    const double gain = std::fmin(std::pow(10.0, bandValues[b] / 200.0), 1e6);
    for (int k = kBandFirstSubband[b]; k < kBandFirstSubband[b + 1]; ++k) {
      eq.gains[k] = static_cast<float>(gain);
    }
  }
  eq.on = 1;
  return 1;
}

}  // namespace orva

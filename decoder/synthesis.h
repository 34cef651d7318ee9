// Synthesis filterbank and the PCM output variants: 16/8-bit, full, half and
// quarter rate, five Layer I/II arrangements and two Layer III ones. Chosen
// once per stream by the layer preparations; called for every block of
// time slots on the playback thread.
#pragma once

#include <cstdint>

#include "decoder/decoder_state.h"

namespace orva {

// Layer I/II arrangements.
enum SynthesisArrangement : int32_t {
  SYNTH_MONO_STREAM = 0,
  SYNTH_STEREO = 1,
  SYNTH_DOWNMIX = 2,
  SYNTH_LEFT_ONLY = 3,
  SYNTH_RIGHT_ONLY = 4,
};

extern const SynthesisLayer12 kSynthesisLayer12[30];
extern const SynthesisLayer3 kSynthesisLayer3[12];

void initSynthesisTables();
void resetSynthesis();
// Pick the routine for the current options and the stream's mode.
void chooseSynthesisLayer12(int32_t streamMode);
void chooseSynthesisLayer3(int32_t streamMode);

// The 32-point DCT used by the filterbank (exposed for tests):
// x[k] <- sum over n of x[n] cos((2n + 1) k pi / 64).
void synthesisDct32(float* x);

// Float sum to a PCM sample: truncation toward zero, clipped.
inline int32_t synthesisToPcm16(float sum) {
  const float lo = sum > -32768.0f ? sum : -32768.0f;  // NaN goes to the floor
  return static_cast<int32_t>(lo < 32767.0f ? lo : 32767.0f);
}
inline uint8_t synthesisToPcm8(float sum) { return static_cast<uint8_t>(((synthesisToPcm16(sum) >> 8) & 0xFF) ^ 0x80); }

}  // namespace orva

// The decoder's process-wide state: one decoder per process, so every piece
// of mutable decoder data lives in the one `DecoderState` record below.
// Written by the decoder core, the layer handlers, the synthesis routines
// and the equalizer; all on the playback thread (or on the caller's thread
// while nothing plays). Probing a file never touches it.
#pragma once

#include <cstdint>

#include "decoder/frame_header.h"
#include "decoder/layer12.h"
#include "decoder/layer3.h"

namespace orva {

struct DspKernels;

using LayerHandler = void (*)(FrameDecodeJob& job, const uint8_t* frame, uint8_t* output);

// PCM output routine of one Layer I/II arrangement: (samples, output, slots).
using SynthesisLayer12 = void (*)(float* samples, uint8_t* output, int32_t slotCount);
// PCM output routine of Layer III: (the hybrid outputs of 18 slots of the
// left and the right channel, output); the single-channel routines read
// the first only.
using SynthesisLayer3 = void (*)(const float* left, const float* right, uint8_t* output);

struct SynthesisState {
  // Per output channel, 16 slots; each slot keeps its M DCT values in the
  // two orders the windowing reads them (see synthesis.cpp).
  alignas(32) float ring[2][1024];
  // The full-rate DCT outputs of a frame's slots, per channel, before they
  // go into the ring (a Layer II frame has 36 slots).
  alignas(32) float transformed[2][36 * 32];
  int32_t position[2];
  SynthesisLayer12 layer12;
  SynthesisLayer3 layer3;
};

struct EqualizerState {
  int32_t on;
  float gains[32];
};

struct DecoderState {
  DecoderOptions options{0, 0, 24000};
  int32_t error;
  int32_t streamSampleRate;     // full rate, remembered at stream start
  int32_t outputBytesPerFrame;  // remembered at stream start
  int32_t currentFrameLength;   // of the frame in decodeFrame
  int32_t streamLayer;          // layer of the stream's first frame
  int32_t streamVersion;
  int32_t streamMode;
  LayerHandler handler;
  SynthesisState synthesis;
  EqualizerState equalizer;
  Layer12State layer12;
  Layer3State layer3;
  int32_t fullBandwidthForTesting;
  const DspKernels* kernels;  // of the selected path (decoder_path.h)
  int32_t path;
};

// The one decoder.
extern DecoderState gDecoder;
// Its Layer III part, named for the Layer III stages.
inline Layer3State& gLayer3 = gDecoder.layer3;

}  // namespace orva

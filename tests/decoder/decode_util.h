// Test helpers for the decoder: decoding a whole stream the way the engine
// walks frames, reading WAV/PCM references, and comparing PCM in 16-bit LSB
// with an alignment search (the measuring rules of the corpus tools).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "decoder/decoder.h"

namespace orva::test {

struct DecodedStream {
  std::vector<uint8_t> pcm;
  int32_t channels = 0;
  int32_t sampleRate = 0;
  int32_t bits = 0;
  int32_t frames = 0;
  int32_t resyncs = 0;
};

struct DecodeSettings {
  DecoderOptions options{0, 0, 24000};
  const int32_t* equalizer = nullptr;  // ten bands, or none
  bool fullBandwidth = false;
};

// False when no frame could start decoding.
bool decodeStream(const std::vector<uint8_t>& file, const DecodeSettings& settings, DecodedStream& out);

// 16-bit samples of a decoded stream as floats in LSB.
std::vector<float> samplesOf(const DecodedStream& d);

// A reference in LSB units: WAV (16/24-bit integer, 32-bit float) or raw s16le.
struct Reference {
  std::vector<float> samples;
  int32_t channels = 0;
  int32_t sampleRate = 0;
  bool isFloat = false;
};
bool readWaveReference(const std::vector<uint8_t>& bytes, Reference& out);
std::vector<float> rawS16(const std::vector<uint8_t>& bytes);

// Float samples as a decoder with truncating 16-bit output would write them.
void truncateTo16(std::vector<float>& samples);

struct Comparison {
  int32_t offset = 0;    // a[i] is compared with b[i + offset]
  int64_t compared = 0;  // frames
  double rms = 0;
  double max = 0;
};
// Fixed offset, or searched over -maxOffset..maxOffset when `search`.
Comparison comparePcm(const std::vector<float>& a, const std::vector<float>& b, int32_t channels, int32_t rate,
                      bool search, int32_t offset, int32_t maxOffset = 2000);

}  // namespace orva::test

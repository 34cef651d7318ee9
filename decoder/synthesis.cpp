// Polyphase synthesis filterbank (ISO/IEC 11172-3 matrixing and windowing)
// and its PCM output variants. Each time slot: an M-point DCT of the lowest
// M subbands (M = 32, 16 or 8) into the channel's ring, then M windowed sums
// over 16 slots of the ring, truncated and clipped to PCM.
#include "decoder/synthesis.h"

#include <cmath>
#include <cstring>
#include <numbers>

#include "decoder/dsp_kernels.h"
#include "decoder/dsp_lanes.h"
#include "decoder/iso_tables.h"

namespace orva {
namespace {

// 0.5 / cos((2k + 1) pi / (4n)) for n = 16, 8, 4, 2, 1: the Lee DCT factors.
float gDctFactors32[16];
float gDctFactors16[8];
float gDctFactors8[4];
float gDctFactors4[2];
float gDctFactors2[1];

// Window coefficients in reading order, per rate.
WindowRows gWindow[3];

// By size step, as the DCT reads them.
const float* const gDctFactorTable[5] = {gDctFactors32, gDctFactors16, gDctFactors8, gDctFactors4, gDctFactors2};

template <bool Eight>
inline void storeSample(uint8_t* out, int32_t pcm16) {
  if constexpr (Eight) {
    *out = static_cast<uint8_t>(((pcm16 >> 8) & 0xFF) ^ 0x80);
  } else {
    const int16_t v = static_cast<int16_t>(pcm16);
    std::memcpy(out, &v, 2);
  }
}

// Windowing. Output j of a slot sums, over the taps m = 0..7, the slot 2m
// back at DCT index H + j (j < H) or 3H - j (j > H) and the slot 2m + 1 back
// at index H - j (j <= H) or j - H (j > H), H = M / 2, each with its window
// coefficient. Every slot is stored as those two gathered rows ("even" and
// "odd", M values each) so that the sums run over contiguous memory.
template <int Shift, bool Eight>
inline void windowSlot(const float* ring, int32_t pos, const WindowRows& w, uint8_t* out, int32_t stride) {
  constexpr int M = 32 >> Shift;
  constexpr int Mask = 32 * M - 1;
  float s[M] = {};
  for (int m = 0; m < 8; ++m) {
    const float* e = ring + ((pos + 4 * m * M) & Mask);
    const float* o = ring + ((pos + (4 * m + 2) * M) & Mask) + M;
    const float* ce = w.even[m];
    const float* co = w.odd[m];
    for (int j = 0; j < M; ++j) s[j] += ce[j] * e[j] + co[j] * o[j];
  }
  // Clip in float first (NaN-safe, and so that the conversion cannot
  // overflow), then truncate: written as plain loops the compiler vectorises.
  int32_t v[M];
  for (int j = 0; j < M; ++j) {
    const float lo = s[j] > -32768.0f ? s[j] : -32768.0f;
    v[j] = static_cast<int32_t>(lo < 32767.0f ? lo : 32767.0f);
  }
  for (int j = 0; j < M; ++j) storeSample<Eight>(out + j * stride, v[j]);
}

// The DCT values of a slot go into the ring in the two orders the
// windowing reads: even[j] = x[H + j] (j < H), 0 (j = H), x[3H - j] (j > H);
// odd[j] = x[H - j] (j <= H), x[j - H] (j > H).
template <int M>
inline void storeRingRows(const float* x, float* ring, int32_t pos) {
  constexpr int H = M / 2;
  float* even = ring + pos;
  float* odd = even + M;
  for (int j = 0; j < H; ++j) even[j] = x[H + j];
  even[H] = 0.0f;
  for (int j = H + 1; j < M; ++j) even[j] = x[3 * H - j];
  for (int j = 0; j <= H; ++j) odd[j] = x[H - j];
  for (int j = H + 1; j < M; ++j) odd[j] = x[j - H];
}

// One slot of one channel after its DCT: into the ring, then the windowed
// sums to channel `channel` of `channels` interleaved ones.
template <int Shift, bool Eight>
inline void windowTransformedSlot(const float* x, float* ring, int32_t& pos, uint8_t* out, int32_t channels,
                                  int32_t channel) {
  constexpr int M = 32 >> Shift;
  if constexpr (Shift == 0 && !Eight) {
    // The full-rate 16-bit case is the one playback lives in: the path's kernel.
    gDecoder.kernels->windowSlot32(x, ring, pos, gWindow[0], reinterpret_cast<int16_t*>(out), channels, channel);
  } else {
    constexpr int Bytes = Eight ? 1 : 2;
    storeRingRows<M>(x, ring, pos);
    windowSlot<Shift, Eight>(ring, pos, gWindow[Shift], out + channel * Bytes, channels * Bytes);
  }
  pos = (pos - 2 * M) & (32 * M - 1);
}

// One full-rate slot of both channels, interleaved; the two rings move
// together at `pos`.
template <bool Eight>
inline void windowTransformedPair(const float* left, const float* right, int32_t& pos, uint8_t* out) {
  SynthesisState& st = gDecoder.synthesis;
  if constexpr (!Eight) {
    gDecoder.kernels->windowSlot32Pair(left, right, st.ring[0], st.ring[1], pos, gWindow[0],
                                       reinterpret_cast<int16_t*>(out));
    pos = (pos - 64) & 1023;
  } else {
    int32_t p = pos;
    windowTransformedSlot<0, true>(left, st.ring[0], p, out, 2, 0);
    windowTransformedSlot<0, true>(right, st.ring[1], pos, out, 2, 1);
  }
}

// One slot of one channel on its own (the reduced rates, and the Layer I/II
// down-mix): x holds its M subband values.
template <int Shift, bool Eight>
inline void synthesizeSlot(float* x, float* ring, int32_t& pos, uint8_t* out, int32_t channels, int32_t channel) {
  constexpr int M = 32 >> Shift;
  if constexpr (Shift == 1) x[15] = 0.0f;  // the half-rate filter leaves subband 15 out
  dctLanes<M>(gDctFactorTable, x);
  windowTransformedSlot<Shift, Eight>(x, ring, pos, out, channels, channel);
}

// The full-rate DCTs of a run of slots, through the path's kernel, gained
// when the equalizer is on; into the output channel's buffer.
inline float* transformSlots(const float* in, int32_t slotStride, int32_t channels, int32_t channel, int32_t slots,
                             int32_t outputChannel) {
  float* out = gDecoder.synthesis.transformed[outputChannel];
  const float* gains = gDecoder.equalizer.on != 0 ? gDecoder.equalizer.gains : nullptr;
  gDecoder.kernels->dct32Slots(gDctFactorTable, SlotSource{in, slotStride, channels, channel, gains}, slots, out);
  return out;
}

// The reduced rates' subband values of one slot (the equalizer acts at
// full rate only, in transformSlots).
template <int Shift>
inline void gatherChannel(const float* in, int32_t step, float* x) {
  constexpr int M = 32 >> Shift;
  for (int k = 0; k < M; ++k) x[k] = in[k * step];
}

template <int Shift, bool Eight, int Arrangement>
void synthLayer12(float* samples, uint8_t* output, int32_t slotCount) {
  constexpr int M = 32 >> Shift;
  constexpr int Bytes = Eight ? 1 : 2;
  SynthesisState& st = gDecoder.synthesis;
  float x[32];
  if constexpr (Shift == 0 && Arrangement != SYNTH_DOWNMIX) {
    if constexpr (Arrangement == SYNTH_STEREO) {
      const float* left = transformSlots(samples, 64, 2, 0, slotCount, 0);
      const float* right = transformSlots(samples, 64, 2, 1, slotCount, 1);
      for (int32_t t = 0; t < slotCount; ++t, output += 2 * M * Bytes) {
        windowTransformedPair<Eight>(left + 32 * t, right + 32 * t, st.position[0], output);
      }
    } else {
      const int32_t channels = Arrangement == SYNTH_MONO_STREAM ? 1 : 2;
      const float* d = transformSlots(samples, 64, channels, Arrangement == SYNTH_RIGHT_ONLY ? 1 : 0, slotCount, 0);
      for (int32_t t = 0; t < slotCount; ++t) {
        windowTransformedSlot<0, Eight>(d + 32 * t, st.ring[0], st.position[0], output, 1, 0);
        output += M * Bytes;
      }
    }
    return;
  }
  for (int32_t t = 0; t < slotCount; ++t) {
    const float* in = samples + 64 * t;
    if constexpr (Arrangement == SYNTH_STEREO) {
      int32_t pos = st.position[0];
      gatherChannel<Shift>(in, 2, x);
      synthesizeSlot<Shift, Eight>(x, st.ring[0], pos, output, 2, 0);
      pos = st.position[0];
      gatherChannel<Shift>(in + 1, 2, x);
      synthesizeSlot<Shift, Eight>(x, st.ring[1], pos, output, 2, 1);
      st.position[0] = pos;
      output += 2 * M * Bytes;
    } else {
      if constexpr (Arrangement == SYNTH_DOWNMIX) {
        for (int k = 0; k < M; ++k) x[k] = (in[2 * k] + in[2 * k + 1]) * 0.5f;
      } else if constexpr (Arrangement == SYNTH_MONO_STREAM) {
        gatherChannel<Shift>(in, 1, x);
      } else {
        gatherChannel<Shift>(in + (Arrangement == SYNTH_RIGHT_ONLY ? 1 : 0), 2, x);
      }
      synthesizeSlot<Shift, Eight>(x, st.ring[0], st.position[0], output, 1, 0);
      output += M * Bytes;
    }
  }
}

template <int Shift, bool Eight, bool Stereo>
void synthLayer3(const float* left, const float* right, uint8_t* output) {
  constexpr int M = 32 >> Shift;
  constexpr int Bytes = Eight ? 1 : 2;
  constexpr int Channels = Stereo ? 2 : 1;
  SynthesisState& st = gDecoder.synthesis;
  if constexpr (Shift == 0) {
    const float* d0 = transformSlots(left, 32, 1, 0, 18, 0);
    if constexpr (Stereo) {
      const float* d1 = transformSlots(right, 32, 1, 0, 18, 1);
      for (int t = 0; t < 18; ++t, output += 2 * M * Bytes) {
        windowTransformedPair<Eight>(d0 + 32 * t, d1 + 32 * t, st.position[0], output);
      }
    } else {
      for (int t = 0; t < 18; ++t, output += M * Bytes) {
        windowTransformedSlot<0, Eight>(d0 + 32 * t, st.ring[0], st.position[0], output, 1, 0);
      }
    }
    return;
  }
  float x[32];
  for (int c = 0; c < Channels; ++c) {
    const float* hybrid = c == 0 ? left : right;
    uint8_t* out = output;
    for (int t = 0; t < 18; ++t, out += M * Channels * Bytes) {
      gatherChannel<Shift>(hybrid + 32 * t, 1, x);
      synthesizeSlot<Shift, Eight>(x, st.ring[c], st.position[c], out, Channels, c);
    }
  }
}

template <int Shift, bool Eight>
constexpr SynthesisLayer12 kRow12[5] = {synthLayer12<Shift, Eight, 0>, synthLayer12<Shift, Eight, 1>,
                                        synthLayer12<Shift, Eight, 2>, synthLayer12<Shift, Eight, 3>,
                                        synthLayer12<Shift, Eight, 4>};

void fillFactors(float* out, int n) {
  for (int k = 0; k < n; ++k) {
    out[k] = static_cast<float>(0.5 / std::cos((2 * k + 1) * std::numbers::pi / (4.0 * n)));
  }
}

}  // namespace

// [8-bit][shift][arrangement]
const SynthesisLayer12 kSynthesisLayer12[30] = {
    kRow12<0, false>[0], kRow12<0, false>[1], kRow12<0, false>[2], kRow12<0, false>[3], kRow12<0, false>[4],
    kRow12<1, false>[0], kRow12<1, false>[1], kRow12<1, false>[2], kRow12<1, false>[3], kRow12<1, false>[4],
    kRow12<2, false>[0], kRow12<2, false>[1], kRow12<2, false>[2], kRow12<2, false>[3], kRow12<2, false>[4],
    kRow12<0, true>[0],  kRow12<0, true>[1],  kRow12<0, true>[2],  kRow12<0, true>[3],  kRow12<0, true>[4],
    kRow12<1, true>[0],  kRow12<1, true>[1],  kRow12<1, true>[2],  kRow12<1, true>[3],  kRow12<1, true>[4],
    kRow12<2, true>[0],  kRow12<2, true>[1],  kRow12<2, true>[2],  kRow12<2, true>[3],  kRow12<2, true>[4],
};

// [8-bit][shift][stereo]
const SynthesisLayer3 kSynthesisLayer3[12] = {
    synthLayer3<0, false, false>, synthLayer3<0, false, true>,  synthLayer3<1, false, false>,
    synthLayer3<1, false, true>,  synthLayer3<2, false, false>, synthLayer3<2, false, true>,
    synthLayer3<0, true, false>,  synthLayer3<0, true, true>,   synthLayer3<1, true, false>,
    synthLayer3<1, true, true>,   synthLayer3<2, true, false>,  synthLayer3<2, true, true>,
};

void initSynthesisTables() {
  fillFactors(gDctFactors32, 16);
  fillFactors(gDctFactors16, 8);
  fillFactors(gDctFactors8, 4);
  fillFactors(gDctFactors4, 2);
  fillFactors(gDctFactors2, 1);
  for (int shift = 0; shift < 3; ++shift) {
    const int m = 32 >> shift;
    const int h = m / 2;
    const int step = 1 << shift;  // the reduced rates read D[2n] or D[4n]
    WindowRows& w = gWindow[shift];
    std::memset(&w, 0, sizeof w);
    for (int tap = 0; tap < 8; ++tap) {
      for (int j = 0; j < m; ++j) {
        const float de = kSynthesisWindow[(j + 2 * m * tap) * step];
        const float dodd = kSynthesisWindow[(j + 2 * m * tap + m) * step];
        w.even[tap][j] = j < h ? de : (j == h ? 0.0f : -de);
        w.odd[tap][j] = -dodd;
      }
    }
  }
}

void resetSynthesis() {
  SynthesisState& st = gDecoder.synthesis;
  std::memset(st.ring, 0, sizeof st.ring);
  st.position[0] = 0;
  st.position[1] = 0;
}

namespace {
int32_t clampedShift() {
  const int32_t s = gDecoder.options.downsampleShift;
  return s < 0 ? 0 : (s > 2 ? 2 : s);
}
}  // namespace

void chooseSynthesisLayer12(int32_t streamMode) {
  const int32_t flags = gDecoder.options.outputFlags;
  const int32_t arrangement = streamMode == 3 ? SYNTH_MONO_STREAM : (flags & 3) + 1;
  gDecoder.synthesis.layer12 = kSynthesisLayer12[((flags & 8) ? 15 : 0) + clampedShift() * 5 + arrangement];
}

void chooseSynthesisLayer3(int32_t streamMode) {
  const int32_t flags = gDecoder.options.outputFlags;
  const bool stereo = streamMode != 3 && (flags & 3) == 0;
  gDecoder.synthesis.layer3 = kSynthesisLayer3[((flags & 8) ? 6 : 0) + clampedShift() * 2 + (stereo ? 1 : 0)];
}

void synthesisDct32(float* x) { dctLanes<32>(gDctFactorTable, x); }

void windowSlot32PairPlain(const float* left, const float* right, float* ringLeft, float* ringRight, int32_t pos,
                           const WindowRows& rows, int16_t* out) {
  windowSlot32Plain(left, ringLeft, pos, rows, out, 2, 0);
  windowSlot32Plain(right, ringRight, pos, rows, out, 2, 1);
}

void dct32SlotsPlain(const float* const* factors, const SlotSource& source, int32_t slots, float* out) {
  const int32_t step = source.channels;
  for (int32_t t = 0; t < slots; ++t) {
    float* x = out + 32 * t;
    const float* from = source.in + t * source.slotStride + source.channel;
    if (source.gains != nullptr) {
      for (int k = 0; k < 32; ++k) x[k] = from[k * step] * source.gains[k];
    } else {
      for (int k = 0; k < 32; ++k) x[k] = from[k * step];
    }
    dctLanes<32>(factors, x);
  }
}

void windowSlot32Plain(const float* x, float* ring, int32_t pos, const WindowRows& rows, int16_t* out, int32_t channels,
                       int32_t channel) {
  storeRingRows<32>(x, ring, pos);
  windowSlot<0, false>(ring, pos, rows, reinterpret_cast<uint8_t*>(out + channel), channels * 2);
}

}  // namespace orva

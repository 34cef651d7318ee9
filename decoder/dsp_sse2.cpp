// SSE2 kernels: the x86-64 baseline. The IMDCT runs four neighbouring
// subbands side by side; the synthesis windowing keeps its 32 sums in
// registers, four outputs per register.
#include <emmintrin.h>

#include "decoder/dsp_kernels.h"
#include "decoder/dsp_lanes.h"
#include "decoder/dsp_x86.h"

namespace orva {
namespace {

struct Sse {
  __m128 v;
  Sse() = default;
  explicit Sse(float f) : v(_mm_set1_ps(f)) {}
  Sse(__m128 x) : v(x) {}
  static constexpr int kLanes = 4;
  static Sse load(const float* p) { return _mm_load_ps(p); }
};
inline Sse operator+(Sse a, Sse b) { return _mm_add_ps(a.v, b.v); }
inline Sse operator-(Sse a, Sse b) { return _mm_sub_ps(a.v, b.v); }
inline Sse operator*(Sse a, Sse b) { return _mm_mul_ps(a.v, b.v); }
inline Sse operator-(Sse a) { return _mm_xor_ps(a.v, _mm_set1_ps(-0.0f)); }

// Four values of one channel from eight interleaved ones at p.
inline __m128 oneChannelOfTwo(const float* p, int32_t channel) {
  const __m128 a = _mm_loadu_ps(p), b = _mm_loadu_ps(p + 4);
  return channel == 0 ? _mm_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0)) : _mm_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1));
}

// x[k] lane s = value k of slot first + s for the first n slots, 0 for the
// others.
void loadSlots(const SlotSource& source, int32_t first, int32_t n, Sse* x) {
  for (int block = 0; block < 8; ++block) {
    __m128 r[4];
    for (int s = 0; s < 4; ++s) {
      const float* p = source.in + (first + s) * source.slotStride + 4 * block * source.channels;
      if (s >= n) {
        r[s] = _mm_setzero_ps();
      } else if (source.channels == 1) {
        r[s] = _mm_loadu_ps(p);
      } else {
        r[s] = oneChannelOfTwo(p, source.channel);
      }
    }
    _MM_TRANSPOSE4_PS(r[0], r[1], r[2], r[3]);
    for (int i = 0; i < 4; ++i) x[4 * block + i] = r[i];
  }
}

// out[32 * s + k] = x[k] lane s for the first n slots.
void storeSlots(const Sse* x, int32_t n, float* out) {
  for (int block = 0; block < 8; ++block) {
    __m128 r[4] = {x[4 * block].v, x[4 * block + 1].v, x[4 * block + 2].v, x[4 * block + 3].v};
    _MM_TRANSPOSE4_PS(r[0], r[1], r[2], r[3]);
    for (int s = 0; s < n; ++s) _mm_storeu_ps(out + 32 * s + 4 * block, r[s]);
  }
}

// Lanes below `count` of a register, as an all-ones mask.
inline __m128 laneMask(int32_t count) {
  const __m128i index = _mm_setr_epi32(0, 1, 2, 3);
  return _mm_castsi128_ps(_mm_cmplt_epi32(index, _mm_set1_epi32(count)));
}

inline void storeLanes(float* p, __m128 v, __m128 mask) {
  _mm_storeu_ps(p, _mm_or_ps(_mm_and_ps(mask, v), _mm_andnot_ps(mask, _mm_loadu_ps(p))));
}

void imdct36Subbands(const ImdctConstants& c, const float* lines, const float* window, float* overlap, float* hybrid,
                     int32_t first, int32_t end) {
  int32_t sb = first;
  // Whole groups, and a last partial one whose extra lanes are computed
  // but not stored (they stay inside the 32 columns and the spectrum).
  for (; sb < end && sb + 4 <= 32; sb += 4) {
    const __m128 mask = laneMask(end - sb);
    __m128 gathered[18];
    gatherFourSubbands(lines + 18 * sb, gathered);
    Sse in[18], ov[18], out[18];
    for (int i = 0; i < 18; ++i) in[i] = gathered[i];
    for (int i = 0; i < 18; ++i) ov[i] = _mm_loadu_ps(overlap + 32 * i + sb);
    imdct36Lanes(c, in, window, ov, out, 1);
    for (int i = 0; i < 18; ++i) {
      storeLanes(hybrid + 32 * i + sb, out[i].v, mask);
      storeLanes(overlap + 32 * i + sb, ov[i].v, mask);
    }
  }
  for (; sb < end; ++sb) imdct36Lanes(c, lines + 18 * sb, window, overlap + sb, hybrid + sb, 32);
}

// out[j * channels + channel] = v[j] for eight 32-bit lanes holding 16-bit
// values; of interleaved stereo the other channel's samples are kept.
inline void storePcm16(int16_t* out, __m128i lo, __m128i hi, int32_t channels, int32_t channel) {
  if (channels == 1) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_packs_epi32(lo, hi));
    return;
  }
  const __m128i low16 = _mm_set1_epi32(0xFFFF);
  const __m128i keep = channel == 0 ? _mm_andnot_si128(low16, _mm_set1_epi32(-1)) : low16;
  __m128i* p = reinterpret_cast<__m128i*>(out);
  const __m128i a = channel == 0 ? _mm_and_si128(lo, low16) : _mm_slli_epi32(lo, 16);
  const __m128i b = channel == 0 ? _mm_and_si128(hi, low16) : _mm_slli_epi32(hi, 16);
  _mm_storeu_si128(p, _mm_or_si128(a, _mm_and_si128(keep, _mm_loadu_si128(p))));
  _mm_storeu_si128(p + 1, _mm_or_si128(b, _mm_and_si128(keep, _mm_loadu_si128(p + 1))));
}

inline __m128 reversed(__m128 v) { return _mm_shuffle_ps(v, v, _MM_SHUFFLE(0, 1, 2, 3)); }

// The ring rows of a slot (see the plain storeRingRows), with whole-register
// stores: the windowing's loads right after then come straight from them.
inline void storeRingRows(const float* x, float* ring, int32_t pos) {
  float* even = ring + pos;
  float* odd = even + 32;
  for (int q = 0; q < 4; ++q) _mm_store_ps(even + 4 * q, _mm_loadu_ps(x + 16 + 4 * q));
  const __m128 top = _mm_loadu_ps(x + 28);  // x28 x29 x30 x31 -> 0 x31 x30 x29
  _mm_store_ps(even + 16, _mm_move_ss(_mm_shuffle_ps(top, top, _MM_SHUFFLE(1, 2, 3, 0)), _mm_setzero_ps()));
  for (int q = 0; q < 3; ++q) _mm_store_ps(even + 20 + 4 * q, reversed(_mm_loadu_ps(x + 25 - 4 * q)));
  for (int q = 0; q < 4; ++q) _mm_store_ps(odd + 4 * q, reversed(_mm_loadu_ps(x + 13 - 4 * q)));
  for (int q = 0; q < 4; ++q) _mm_store_ps(odd + 16 + 4 * q, _mm_loadu_ps(x + 4 * q));
}

void windowSlot32(const float* x, float* ring, int32_t pos, const WindowRows& rows, int16_t* out, int32_t channels,
                  int32_t channel) {
  storeRingRows(x, ring, pos);
  const float* rings[1] = {ring};
  Sse s[1][8];
  windowSumsLanes<Sse, 8, 1>(rings, pos, rows, 0, s);
  __m128i v[8];
  for (int q = 0; q < 8; ++q) v[q] = clipTruncate(s[0][q].v);
  for (int q = 0; q < 8; q += 2) storePcm16(out + 8 * (q / 2) * channels, v[q], v[q + 1], channels, channel);
}

void dct32Slots(const float* const* factors, const SlotSource& source, int32_t slots, float* out) {
  dct32SlotsLanes<Sse>(factors, source, slots, out);
}

// Both channels of a stereo slot: one load of each window coefficient
// serves both, and each frame's two samples go out as one 32-bit word. Two
// passes of sixteen outputs keep the sums in registers.
void windowSlot32Pair(const float* left, const float* right, float* ringLeft, float* ringRight, int32_t pos,
                      const WindowRows& rows, int16_t* out) {
  storeRingRows(left, ringLeft, pos);
  storeRingRows(right, ringRight, pos);
  const float* rings[2] = {ringLeft, ringRight};
  const __m128i low16 = _mm_set1_epi32(0xFFFF);
  for (int half = 0; half < 32; half += 16) {
    Sse s[2][4];
    windowSumsLanes<Sse, 4, 2>(rings, pos, rows, half, s);
    for (int q = 0; q < 4; ++q) {
      const __m128i frames =
          _mm_or_si128(_mm_and_si128(clipTruncate(s[0][q].v), low16), _mm_slli_epi32(clipTruncate(s[1][q].v), 16));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * (half + 4 * q)), frames);
    }
  }
}

}  // namespace

const DspKernels kSse2Kernels = {windowSlot32, windowSlot32Pair, dct32Slots, imdct36Subbands};

}  // namespace orva

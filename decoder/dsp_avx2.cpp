// AVX2 kernels, chosen at start-up when the processor has AVX2. The IMDCT
// runs eight neighbouring subbands side by side; the synthesis windowing
// keeps its 32 sums in four registers. Built with -mavx2 but without FMA:
// the sums must round as the plain code's do.
#include <immintrin.h>

#include "decoder/dsp_kernels.h"
#include "decoder/dsp_lanes.h"
#include "decoder/dsp_x86.h"

namespace orva {
namespace {

struct Avx {
  __m256 v;
  Avx() = default;
  explicit Avx(float f) : v(_mm256_set1_ps(f)) {}
  Avx(__m256 x) : v(x) {}
  static constexpr int kLanes = 8;
  static Avx load(const float* p) { return _mm256_load_ps(p); }
};
inline Avx operator+(Avx a, Avx b) { return _mm256_add_ps(a.v, b.v); }
inline Avx operator-(Avx a, Avx b) { return _mm256_sub_ps(a.v, b.v); }
inline Avx operator*(Avx a, Avx b) { return _mm256_mul_ps(a.v, b.v); }
inline Avx operator-(Avx a) { return _mm256_xor_ps(a.v, _mm256_set1_ps(-0.0f)); }

// Rows r[0..7] become columns: r[i] lane j <- r[j] lane i.
inline void transpose8(__m256* r) {
  __m256 t[8], u[8];
  for (int i = 0; i < 8; i += 2) {
    t[i] = _mm256_unpacklo_ps(r[i], r[i + 1]);
    t[i + 1] = _mm256_unpackhi_ps(r[i], r[i + 1]);
  }
  for (int i = 0; i < 8; i += 4) {
    u[i] = _mm256_shuffle_ps(t[i], t[i + 2], _MM_SHUFFLE(1, 0, 1, 0));
    u[i + 1] = _mm256_shuffle_ps(t[i], t[i + 2], _MM_SHUFFLE(3, 2, 3, 2));
    u[i + 2] = _mm256_shuffle_ps(t[i + 1], t[i + 3], _MM_SHUFFLE(1, 0, 1, 0));
    u[i + 3] = _mm256_shuffle_ps(t[i + 1], t[i + 3], _MM_SHUFFLE(3, 2, 3, 2));
  }
  for (int i = 0; i < 4; ++i) {
    r[i] = _mm256_permute2f128_ps(u[i], u[i + 4], 0x20);
    r[i + 4] = _mm256_permute2f128_ps(u[i], u[i + 4], 0x31);
  }
}

// Eight values of one channel from sixteen interleaved ones at p.
inline __m256 oneChannelOfTwo(const float* p, int32_t channel) {
  const __m256 a = _mm256_loadu_ps(p), b = _mm256_loadu_ps(p + 8);
  const __m256 picked = channel == 0 ? _mm256_shuffle_ps(a, b, _MM_SHUFFLE(2, 0, 2, 0))
                                     : _mm256_shuffle_ps(a, b, _MM_SHUFFLE(3, 1, 3, 1));
  return _mm256_castpd_ps(_mm256_permute4x64_pd(_mm256_castps_pd(picked), 0xD8));
}

// x[k] lane s = value k of slot first + s for the first n slots, 0 for the
// others.
void loadSlots(const SlotSource& source, int32_t first, int32_t n, Avx* x) {
  for (int block = 0; block < 4; ++block) {
    __m256 r[8];
    for (int s = 0; s < 8; ++s) {
      const float* p = source.in + (first + s) * source.slotStride + 8 * block * source.channels;
      if (s >= n) {
        r[s] = _mm256_setzero_ps();
      } else if (source.channels == 1) {
        r[s] = _mm256_loadu_ps(p);
      } else {
        r[s] = oneChannelOfTwo(p, source.channel);
      }
    }
    transpose8(r);
    for (int i = 0; i < 8; ++i) x[8 * block + i] = r[i];
  }
}

// out[32 * s + k] = x[k] lane s for the first n slots.
void storeSlots(const Avx* x, int32_t n, float* out) {
  for (int block = 0; block < 4; ++block) {
    __m256 r[8];
    for (int i = 0; i < 8; ++i) r[i] = x[8 * block + i].v;
    transpose8(r);
    for (int s = 0; s < n; ++s) _mm256_storeu_ps(out + 32 * s + 8 * block, r[s]);
  }
}

// Lanes below `count`, as a mask for maskstore.
inline __m256i laneMask(int32_t count) {
  return _mm256_cmpgt_epi32(_mm256_set1_epi32(count), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

void imdct36Subbands(const ImdctConstants& c, const float* lines, const float* window, float* overlap, float* hybrid,
                     int32_t first, int32_t end) {
  int32_t sb = first;
  // Whole groups, and a last partial one whose extra lanes are computed
  // but not stored (they stay inside the 32 columns and the spectrum).
  for (; sb < end && sb + 8 <= 32; sb += 8) {
    const __m256i mask = laneMask(end - sb);
    __m128 low[18], high[18];
    gatherFourSubbands(lines + 18 * sb, low);
    gatherFourSubbands(lines + 18 * (sb + 4), high);
    Avx in[18], ov[18], out[18];
    for (int i = 0; i < 18; ++i) {
      in[i] = _mm256_insertf128_ps(_mm256_castps128_ps256(low[i]), high[i], 1);
      ov[i] = _mm256_loadu_ps(overlap + 32 * i + sb);
    }
    imdct36Lanes(c, in, window, ov, out, 1);
    for (int i = 0; i < 18; ++i) {
      _mm256_maskstore_ps(hybrid + 32 * i + sb, mask, out[i].v);
      _mm256_maskstore_ps(overlap + 32 * i + sb, mask, ov[i].v);
    }
  }
  for (; sb < end; ++sb) imdct36Lanes(c, lines + 18 * sb, window, overlap + sb, hybrid + sb, 32);
}

inline __m256i clipTruncate8(__m256 s) {
  return _mm256_cvttps_epi32(_mm256_min_ps(_mm256_max_ps(s, _mm256_set1_ps(-32768.0f)), _mm256_set1_ps(32767.0f)));
}

// The ring rows of a slot (see the plain storeRingRows), with whole-register
// stores: the windowing's loads right after then come straight from them.
inline void storeRingRows(const float* x, float* ring, int32_t pos) {
  const __m256i reverse = _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0);
  const __m256i reverseAfterFirst = _mm256_setr_epi32(0, 7, 6, 5, 4, 3, 2, 1);
  float* even = ring + pos;
  float* odd = even + 32;
  _mm256_store_ps(even, _mm256_loadu_ps(x + 16));
  _mm256_store_ps(even + 8, _mm256_loadu_ps(x + 24));
  const __m256 top = _mm256_permutevar8x32_ps(_mm256_loadu_ps(x + 24), reverseAfterFirst);
  _mm256_store_ps(even + 16, _mm256_blend_ps(top, _mm256_setzero_ps(), 1));
  _mm256_store_ps(even + 24, _mm256_permutevar8x32_ps(_mm256_loadu_ps(x + 17), reverse));
  _mm256_store_ps(odd, _mm256_permutevar8x32_ps(_mm256_loadu_ps(x + 9), reverse));
  _mm256_store_ps(odd + 8, _mm256_permutevar8x32_ps(_mm256_loadu_ps(x + 1), reverse));
  _mm256_store_ps(odd + 16, _mm256_loadu_ps(x));
  _mm256_store_ps(odd + 24, _mm256_loadu_ps(x + 8));
}

void windowSlot32(const float* x, float* ring, int32_t pos, const WindowRows& rows, int16_t* out, int32_t channels,
                  int32_t channel) {
  storeRingRows(x, ring, pos);
  const float* rings[1] = {ring};
  Avx s[1][4];
  windowSumsLanes<Avx, 4, 1>(rings, pos, rows, 0, s);
  __m256i v[4];
  for (int q = 0; q < 4; ++q) v[q] = clipTruncate8(s[0][q].v);
  if (channels == 1) {
    for (int q = 0; q < 4; q += 2) {
      // packs works within 128-bit halves: put the quarters back in order.
      const __m256i packed = _mm256_permute4x64_epi64(_mm256_packs_epi32(v[q], v[q + 1]), 0xD8);
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 8 * q), packed);
    }
    return;
  }
  // Interleaved stereo: this channel's 16 bits of each frame, the other
  // channel's kept.
  const __m256i low16 = _mm256_set1_epi32(0xFFFF);
  const __m256i keep = channel == 0 ? _mm256_xor_si256(low16, _mm256_set1_epi32(-1)) : low16;
  for (int q = 0; q < 4; ++q) {
    __m256i* p = reinterpret_cast<__m256i*>(out + 16 * q);
    const __m256i mine = channel == 0 ? _mm256_and_si256(v[q], low16) : _mm256_slli_epi32(v[q], 16);
    _mm256_storeu_si256(p, _mm256_or_si256(mine, _mm256_and_si256(keep, _mm256_loadu_si256(p))));
  }
}

void dct32Slots(const float* const* factors, const SlotSource& source, int32_t slots, float* out) {
  dct32SlotsLanes<Avx>(factors, source, slots, out);
}

// Both channels of a stereo slot: one load of each window coefficient
// serves both, and each frame's two samples go out as one 32-bit word.
void windowSlot32Pair(const float* left, const float* right, float* ringLeft, float* ringRight, int32_t pos,
                      const WindowRows& rows, int16_t* out) {
  storeRingRows(left, ringLeft, pos);
  storeRingRows(right, ringRight, pos);
  const float* rings[2] = {ringLeft, ringRight};
  Avx s[2][4];
  windowSumsLanes<Avx, 4, 2>(rings, pos, rows, 0, s);
  const __m256i low16 = _mm256_set1_epi32(0xFFFF);
  for (int q = 0; q < 4; ++q) {
    const __m256i frames = _mm256_or_si256(_mm256_and_si256(clipTruncate8(s[0][q].v), low16),
                                           _mm256_slli_epi32(clipTruncate8(s[1][q].v), 16));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 16 * q), frames);
  }
}

}  // namespace

const DspKernels kAvx2Kernels = {windowSlot32, windowSlot32Pair, dct32Slots, imdct36Subbands};

}  // namespace orva

// Pieces the SSE2 and AVX2 kernels share. Internal linkage: each kernel
// file compiles its own copy with its own instruction set.
#pragma once

#include <emmintrin.h>

#include <cstdint>

namespace orva {
namespace {

// Four neighbouring subbands' 18 lines side by side:
// in[i] = lines[18 * lane + i], lane 0..3.
inline void gatherFourSubbands(const float* lines, __m128* in) {
  const float* r0 = lines;
  const float* r1 = lines + 18;
  const float* r2 = lines + 36;
  const float* r3 = lines + 54;
  for (int i = 0; i < 16; i += 4) {
    __m128 a = _mm_loadu_ps(r0 + i), b = _mm_loadu_ps(r1 + i), c = _mm_loadu_ps(r2 + i), d = _mm_loadu_ps(r3 + i);
    _MM_TRANSPOSE4_PS(a, b, c, d);
    in[i] = a, in[i + 1] = b, in[i + 2] = c, in[i + 3] = d;
  }
  in[16] = _mm_setr_ps(r0[16], r1[16], r2[16], r3[16]);
  in[17] = _mm_setr_ps(r0[17], r1[17], r2[17], r3[17]);
}

// Clip in float first (a NaN goes to the floor, as in the plain code), then
// truncate toward zero.
inline __m128i clipTruncate(__m128 s) {
  return _mm_cvttps_epi32(_mm_min_ps(_mm_max_ps(s, _mm_set1_ps(-32768.0f)), _mm_set1_ps(32767.0f)));
}

}  // namespace
}  // namespace orva

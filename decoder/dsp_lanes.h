// The synthesis DCT and windowing and the 36-point IMDCT written once for
// any lane type: float for the plain path, and the SSE2 and AVX2 wrappers,
// whose lanes are neighbouring time slots (DCT), outputs (windowing) or
// subbands (IMDCT). Each lane goes through exactly the operations of the plain
// code in the same order, so every path gives the same bits. Only +, -, *
// and negation are used (no fused multiply-add: that would round once
// where the plain code rounds twice).
//
// Everything here has internal linkage: each kernel file compiles its own
// copy with its own instruction set.
#pragma once

#include <cstdint>

#include "decoder/dsp_kernels.h"

namespace orva {
namespace {

// DCT-II by Lee's decomposition: X[k] = sum x[n] cos((2n + 1) k pi / (2N)).
// factors[i] holds 0.5 / cos((2k + 1) pi / (4n)) for n = 16 >> i, the
// factors of the size-2n step.
template <int N, class V>
inline void dctLanes(const float* const* factors, V* x) {
  if constexpr (N > 1) {
    constexpr int H = N / 2;
    constexpr int Level = N == 32 ? 0 : N == 16 ? 1 : N == 8 ? 2 : N == 4 ? 3 : 4;
    const float* c = factors[Level];
    V a[H], b[H];
    for (int i = 0; i < H; ++i) {
      a[i] = x[i] + x[N - 1 - i];
      b[i] = (x[i] - x[N - 1 - i]) * V(c[i]);
    }
    dctLanes<H>(factors, a);
    dctLanes<H>(factors, b);
    for (int i = 0; i < H - 1; ++i) {
      x[2 * i] = a[i];
      x[2 * i + 1] = b[i] + b[i + 1];
    }
    x[N - 2] = a[H - 1];
    x[N - 1] = b[H - 1];
  }
}

// The 32-point DCTs of `slots` time slots, V::kLanes at a time, into
// out[32 * slot + k]. Each lane holds one slot: the kernel file's loadSlots
// and storeSlots transpose between slots and lanes.
template <class V>
inline void dct32SlotsLanes(const float* const* factors, const SlotSource& source, int32_t slots, float* out) {
  constexpr int W = V::kLanes;
  for (int32_t first = 0; first < slots; first += W) {
    const int32_t n = slots - first < W ? slots - first : W;
    V x[32];
    loadSlots(source, first, n, x);
    if (source.gains != nullptr) {
      for (int k = 0; k < 32; ++k) x[k] = x[k] * V(source.gains[k]);
    }
    dctLanes<32>(factors, x);
    storeSlots(x, n, out + 32 * first);
  }
}

// The synthesis windowing of one slot for `Rings` rings at once (one
// channel, or both of a stereo slot): outputs first .. first + Registers *
// V::kLanes - 1, s[r][q] summing over the taps m the even coefficient times
// the slot 2m back and the odd one times the slot 2m + 1 back, as the plain
// windowSlot does. One load of each coefficient serves every ring.
template <class V, int Registers, int Rings>
inline void windowSumsLanes(const float* const* rings, int32_t pos, const WindowRows& rows, int32_t first,
                            V (*s)[Registers]) {
  constexpr int W = V::kLanes;
  for (int r = 0; r < Rings; ++r) {
    for (int q = 0; q < Registers; ++q) s[r][q] = V(0.0f);
  }
  for (int m = 0; m < 8; ++m) {
    const int32_t e = ((pos + 128 * m) & 1023) + first;
    const int32_t o = ((pos + 128 * m + 64) & 1023) + 32 + first;
    for (int q = 0; q < Registers; ++q) {
      const V ce = V::load(rows.even[m] + first + W * q);
      const V co = V::load(rows.odd[m] + first + W * q);
      for (int r = 0; r < Rings; ++r) {
        s[r][q] = s[r][q] + (ce * V::load(rings[r] + e + W * q) + co * V::load(rings[r] + o + W * q));
      }
    }
  }
}

// 9-point DCT-II, X[n] = sum x[k] cos(pi n (2k + 1) / 18): inputs k and
// 8 - k pair up, their sum serving the even outputs and their difference
// the odd ones.
template <class V>
inline void dct9Lanes(const ImdctConstants& c, const V* x, V* out) {
  V s[4], d[4];
  for (int k = 0; k < 4; ++k) {
    s[k] = x[k] + x[8 - k];
    d[k] = x[k] - x[8 - k];
  }
  for (int n = 0; n < 5; ++n) {
    const float* e = c.dct9Even[n];
    const V mid = (n & 1) ? -x[4] : x[4];  // cos(pi n / 2) for even outputs 2n
    out[2 * n] = V(e[0]) * s[0] + V(e[1]) * s[1] + V(e[2]) * s[2] + V(e[3]) * s[3] + mid;
  }
  for (int n = 0; n < 4; ++n) {
    const float* o = c.dct9Odd[n];
    out[2 * n + 1] = V(o[0]) * d[0] + V(o[1]) * d[1] + V(o[2]) * d[2] + V(o[3]) * d[3];
  }
}

// 36-point IMDCT of in[0..17], windowed; writes 18 slots (`stride` lanes
// apart) of overlap-added output and keeps the second half as the new
// overlap, at the same stride. The IMDCT is an 18-point DCT-IV y,
// x[i] = y[i + 9], -y[26 - i], -y[i - 27] by thirds; the DCT-IV comes from
// an 18-point DCT-II of prescaled inputs (y[n] = Z[n] + Z[n + 1]), split by
// Lee's step into two 9-point ones.
template <class V>
inline void imdct36Lanes(const ImdctConstants& c, const V* in, const float* win, V* ov, V* out, int32_t stride) {
  V a[9], b[9], ea[9], eb[9];
  for (int i = 0; i < 9; ++i) {
    const V lo = in[i] * V(c.pre[i]);
    const V hi = in[17 - i] * V(c.pre[17 - i]);
    a[i] = lo + hi;
    b[i] = (lo - hi) * V(c.half[i]);
  }
  dct9Lanes(c, a, ea);
  dct9Lanes(c, b, eb);
  V z[19];
  for (int i = 0; i < 8; ++i) {
    z[2 * i] = ea[i];
    z[2 * i + 1] = eb[i] + eb[i + 1];
  }
  z[16] = ea[8];
  z[17] = eb[8];
  z[18] = V(0.0f);
  V y[18];
  for (int n = 0; n < 18; ++n) y[n] = z[n] + z[n + 1];
  for (int i = 0; i < 9; ++i) {
    out[stride * i] = y[i + 9] * V(win[i]) + ov[stride * i];
    out[stride * (i + 9)] = -y[17 - i] * V(win[i + 9]) + ov[stride * (i + 9)];
  }
  for (int i = 0; i < 9; ++i) {
    ov[stride * i] = -y[8 - i] * V(win[18 + i]);
    ov[stride * (i + 9)] = -y[i] * V(win[27 + i]);
  }
}

}  // namespace
}  // namespace orva

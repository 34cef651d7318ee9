// The kernels a decoder path provides for the hot stages, and the data
// layouts they share with the plain code. Kernel files are compiled with
// their own instruction-set flags, so they include nothing but this header,
// the lane templates and the compiler's intrinsics: an inline function they
// pulled in from elsewhere could be emitted with those instructions and
// picked by the linker for everybody.
#pragma once

#include <cstdint>

namespace orva {

// Window coefficients of the synthesis in reading order, per rate: for tap
// pair m (0..7) and output j, the factor of the slot 2m back (even) and
// 2m + 1 back (odd), with the signs of the matrixing's symmetries folded in.
struct alignas(32) WindowRows {
  float even[8][32];
  float odd[8][32];
};

// Constants of the 36-point IMDCT (see layer3_imdct.cpp).
struct ImdctConstants {
  const float* pre;            // [18]
  const float* half;           // [9]
  const float (*dct9Even)[4];  // [5][4]
  const float (*dct9Odd)[4];   // [4][4]
};

// Where a run of synthesis slots' subband values lie: value k of slot t is
// in[t * slotStride + k * channels + channel], times gains[k] when gains is
// not null (the equalizer).
struct SlotSource {
  const float* in;
  int32_t slotStride;
  int32_t channels;  // 1 or 2
  int32_t channel;
  const float* gains;
};

struct DspKernels {
  // One full-rate synthesis slot: its 32 DCT values x go into the ring
  // (1024 floats) at `pos` as the even and odd rows, then the 32 windowed
  // sums over the ring, clipped and truncated to 16 bits, are written to
  // out[j * channels + channel].
  void (*windowSlot32)(const float* x, float* ring, int32_t pos, const WindowRows& rows, int16_t* out, int32_t channels,
                       int32_t channel);
  // The same for a stereo slot: both channels' rows into their rings at
  // `pos`, the sums interleaved left, right into out[2 * j + channel].
  void (*windowSlot32Pair)(const float* left, const float* right, float* ringLeft, float* ringRight, int32_t pos,
                           const WindowRows& rows, int16_t* out);
  // 32-point DCTs of `slots` time slots: out[32 * t + k]; factors as the
  // synthesis keeps them.
  void (*dct32Slots)(const float* const* factors, const SlotSource& source, int32_t slots, float* out);
  // Long-block IMDCTs of subbands first..end-1 with one window: lines
  // [18 * sb + i], overlap and hybrid output [32 * i + sb].
  void (*imdct36Subbands)(const ImdctConstants& c, const float* lines, const float* window, float* overlap,
                          float* hybrid, int32_t first, int32_t end);
};

// The plain code's entries (synthesis.cpp, layer3_imdct.cpp).
void windowSlot32Plain(const float* x, float* ring, int32_t pos, const WindowRows& rows, int16_t* out, int32_t channels,
                       int32_t channel);
void windowSlot32PairPlain(const float* left, const float* right, float* ringLeft, float* ringRight, int32_t pos,
                           const WindowRows& rows, int16_t* out);
void dct32SlotsPlain(const float* const* factors, const SlotSource& source, int32_t slots, float* out);
void imdct36SubbandsPlain(const ImdctConstants& c, const float* lines, const float* window, float* overlap,
                          float* hybrid, int32_t first, int32_t end);

extern const DspKernels kSse2Kernels;  // x86 only
extern const DspKernels kAvx2Kernels;  // x86 only

// The kernels of a path (0 plain, 1 SSE2, 2 AVX2) when this build has them
// and this processor can run them, else null. One file per architecture.
const DspKernels* kernelsIfRunnable(int32_t path);

}  // namespace orva

// Kernel choice on x86-64: SSE2 is part of the architecture; AVX2 needs the
// processor and the operating system (saved YMM state), which the
// compiler's feature check covers.
#include "decoder/dsp_kernels.h"

namespace orva {

const DspKernels* kernelsIfRunnable(int32_t path) {
  static const DspKernels plain = {windowSlot32Plain, windowSlot32PairPlain, dct32SlotsPlain, imdct36SubbandsPlain};
  switch (path) {
    case 0: return &plain;
    case 1: return &kSse2Kernels;
    case 2: return __builtin_cpu_supports("avx2") ? &kAvx2Kernels : nullptr;
    default: return nullptr;
  }
}

}  // namespace orva

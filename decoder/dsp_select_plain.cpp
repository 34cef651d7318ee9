// Kernel choice on processors without our vector kernels: the plain code.
#include "decoder/dsp_kernels.h"

namespace orva {

const DspKernels* kernelsIfRunnable(int32_t path) {
  static const DspKernels plain = {windowSlot32Plain, windowSlot32PairPlain, dct32SlotsPlain, imdct36SubbandsPlain};
  return path == 0 ? &plain : nullptr;
}

}  // namespace orva

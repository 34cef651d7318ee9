// The decoder path: which kernels the synthesis and the IMDCT call. Kept in
// the decoder's state; chosen once by initDecoder, changed only between
// streams.
#include "decoder/decoder_path.h"

#include "decoder/decoder_state.h"
#include "decoder/dsp_kernels.h"

namespace orva {

bool decoderPathAvailable(DecoderPath path) { return kernelsIfRunnable(path) != nullptr; }

DecoderPath fastestDecoderPath() {
  if (decoderPathAvailable(DECODER_PATH_AVX2)) return DECODER_PATH_AVX2;
  return decoderPathAvailable(DECODER_PATH_SSE2) ? DECODER_PATH_SSE2 : DECODER_PATH_PLAIN;
}

bool selectDecoderPath(DecoderPath path) {
  const DspKernels* k = kernelsIfRunnable(path);
  if (k == nullptr) return false;
  gDecoder.kernels = k;
  gDecoder.path = path;
  return true;
}

DecoderPath selectedDecoderPath() { return static_cast<DecoderPath>(gDecoder.path); }

const char* decoderPathName(DecoderPath path) {
  switch (path) {
    case DECODER_PATH_SSE2: return "sse2";
    case DECODER_PATH_AVX2: return "avx2";
    default: return "plain";
  }
}

}  // namespace orva

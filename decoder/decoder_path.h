// Which implementation of the decoder's number-crunching stages runs: the
// plain C++ code, or the SSE2 or AVX2 kernels. Every path gives the same
// output; the fastest one the processor has is chosen by initDecoder, and
// tests and the benchmark may pick another between streams.
#pragma once

#include <cstdint>

namespace orva {

enum DecoderPath : int32_t {
  DECODER_PATH_PLAIN = 0,
  DECODER_PATH_SSE2 = 1,
  DECODER_PATH_AVX2 = 2,
};

// Built into this program and supported by this processor.
bool decoderPathAvailable(DecoderPath path);
DecoderPath fastestDecoderPath();
// False (and nothing changes) when the path is not available.
bool selectDecoderPath(DecoderPath path);
DecoderPath selectedDecoderPath();
// "plain", "sse2", "avx2"
const char* decoderPathName(DecoderPath path);

}  // namespace orva

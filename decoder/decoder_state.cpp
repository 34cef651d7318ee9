// Storage of the process-wide decoder state.
#include "decoder/decoder_state.h"

namespace orva {

DecoderState gDecoder;

}  // namespace orva

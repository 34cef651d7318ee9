// Storage of the process-wide decoder state.
#include "decoder/decoder_state.h"

namespace orva {

DecoderState gDecoder = {
    {0, 0, 24000}, 0, 0, 0, 0, 0, 0, 0, nullptr, {}, {}};

}  // namespace orva

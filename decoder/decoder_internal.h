// Decoder-internal hooks shared between the core and the layers.
#pragma once

namespace orva {

// True while the test hook has lifted the deliberate bandwidth limits.
bool decoderFullBandwidth();

}  // namespace orva

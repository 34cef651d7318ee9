// Which of the codec's Layer-3 formats the encoder asks for, by the source's
// channel count and sample rate.
#pragma once

#include <cstdint>

namespace orva::encoder {

// The index in the codec's format list, or -1 when no format fits.
int32_t chooseLayer3Format(uint32_t channels, uint32_t samplesPerSecond);

}  // namespace orva::encoder

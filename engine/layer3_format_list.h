// The Layer-3 formats our codecs list, in the order they list them. The
// engine chooses a destination by its index in this order (stereo 44100 Hz is
// the fourth entry), so the order is part of what the codecs promise: each
// rate's group starts with the rate of bits the engine's choice should give,
// and the others follow from high to low.
#ifndef ORVA_ENGINE_LAYER3_FORMAT_LIST_H
#define ORVA_ENGINE_LAYER3_FORMAT_LIST_H

#include <cstdint>
#include <span>

namespace orva::encoder {

struct Layer3Format {
  uint16_t channels;
  uint32_t samplesPerSecond;
  uint16_t kilobitsPerSecond;
};

std::span<const Layer3Format> layer3FormatList();

}  // namespace orva::encoder

#endif

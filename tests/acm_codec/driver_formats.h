// The formats the test codec lists: 16-bit PCM at the rates of the Layer-3
// list (stereo then mono), and the Layer-3 list itself in the engine's order.
#ifndef ORVA_TESTS_ACM_CODEC_DRIVER_FORMATS_H
#define ORVA_TESTS_ACM_CODEC_DRIVER_FORMATS_H

#include <cstddef>

#include "tests/acm_codec/acm_driver_interface.h"

namespace orva::acmdriver {

size_t pcmFormatCount();
WAVEFORMATEX pcmFormat(size_t index);
// 16-bit PCM, one or two channels, at a rate of the Layer-3 list.
bool isAcceptedPcm(const WAVEFORMATEX& format);

size_t layer3FormatCount();
MPEGLAYER3WAVEFORMAT layer3Format(size_t index);
// The index of a listed Layer-3 format (channels, rate and bytes per second
// equal), or -1.
int findLayer3Format(const WAVEFORMATEX& format);
void describeLayer3Format(size_t index, WCHAR* text, size_t capacity);

}  // namespace orva::acmdriver

#endif

// The WAV file that the file output modes write: the canonical 44-byte
// header, little-endian, whose two sizes are filled in at the end.
#pragma once

#include <cstdint>

#include "platform/file.h"

namespace orva {

inline constexpr int32_t kWaveHeaderBytes = 44;

// Writes the header with both sizes 0; the file position ends after it.
bool writeWaveHeader(platform::File& file, int32_t channels, int32_t sampleRate, int32_t bits);
// Cuts the file at the current position, writes the RIFF size (file size -
// 8) and the data size (RIFF size - 36), and closes it.
bool finishWaveFile(platform::File& file);

}  // namespace orva

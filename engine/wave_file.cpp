// WAV file header and finish (see wave_file.h). Playback thread, or the
// host's thread before the thread starts.
#include "engine/wave_file.h"

#include <cstring>

namespace orva {
namespace {

void putLe(uint8_t* at, uint32_t value, int32_t bytes) {
  for (int32_t i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

}  // namespace

bool writeWaveHeader(platform::File& file, int32_t channels, int32_t sampleRate, int32_t bits) {
  uint8_t h[kWaveHeaderBytes] = {};
  const uint32_t blockAlign = static_cast<uint32_t>(channels * bits / 8);
  std::memcpy(h, "RIFF", 4);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  putLe(h + 16, 16, 4);
  putLe(h + 20, 1, 2);  // PCM
  putLe(h + 22, static_cast<uint32_t>(channels), 2);
  putLe(h + 24, static_cast<uint32_t>(sampleRate), 4);
  putLe(h + 28, blockAlign * static_cast<uint32_t>(sampleRate), 4);
  putLe(h + 32, blockAlign, 2);
  putLe(h + 34, static_cast<uint32_t>(bits), 2);
  std::memcpy(h + 36, "data", 4);
  return file.write(h, kWaveHeaderBytes) == kWaveHeaderBytes;
}

bool finishWaveFile(platform::File& file) {
  if (!file.isOpen()) return false;
  bool ok = file.truncateHere();
  const int64_t size = file.size();
  uint8_t field[4];
  const uint32_t riffSize = size >= 8 ? static_cast<uint32_t>(size - 8) : 0;
  putLe(field, riffSize, 4);
  ok = ok && file.seek(4) && file.write(field, 4) == 4;
  putLe(field, riffSize >= 36 ? riffSize - 36 : 0, 4);
  ok = ok && file.seek(40) && file.write(field, 4) == 4;
  file.close();
  return ok;
}

}  // namespace orva

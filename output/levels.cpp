// Software level ramps and block scaling (see levels.h).
#include "output/levels.h"

namespace orva {

int32_t fadeOutStep(int32_t level) {
  if (level > 50) return level - 10;
  if (level > 10) return level - 5;
  if (level > 2) return level - 2;
  if (level > 0) return level - 1;
  return 0;
}

int32_t fadeInStep(int32_t level, int32_t target) {
  if (level <= 9) {
    level += 1;
  } else if (level < 50) {
    level += 5;
  } else if (level < 100) {
    level += 10;
  }
  return level > target ? target : level;
}

void scaleBlock(uint8_t* data, int32_t bytes, int32_t bits, int32_t channels, int32_t left, int32_t right) {
  const int32_t levels[2] = {left, channels == 2 ? right : left};
  if (bits == 16) {
    const int32_t count = bytes / 2;
    for (int32_t i = 0; i < count; ++i) {
      uint8_t* p = data + 2 * i;
      const int32_t sample = static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
      int32_t scaled = sample * levels[i & 1] / 100;
      scaled = scaled < -32768 ? -32768 : (scaled > 32767 ? 32767 : scaled);
      const uint16_t bitsOut = static_cast<uint16_t>(static_cast<int16_t>(scaled));
      p[0] = static_cast<uint8_t>(bitsOut & 0xFF);
      p[1] = static_cast<uint8_t>(bitsOut >> 8);
    }
  } else if (bits == 8) {
    for (int32_t i = 0; i < bytes; ++i) {
      int32_t scaled = (data[i] - 128) * levels[i & 1] / 100 + 128;
      scaled = scaled < 0 ? 0 : (scaled > 255 ? 255 : scaled);
      data[i] = static_cast<uint8_t>(scaled);
    }
  }
}

}  // namespace orva

// |x|^(4/3) for every magnitude a Layer III Huffman value can take, built
// once by initLayer3Pow43 (from initLayer3Tables) and read by the
// requantisation on the playback thread.
#pragma once

#include <bit>
#include <cstdint>

namespace orva {

// 15 plus 13 linbits (table 23 and 31) is the largest magnitude.
constexpr int32_t kPow43Size = 15 + (1 << 13);

extern float gPow43[kPow43Size];

void initLayer3Pow43();

// sign(x) |x|^(4/3): the magnitude's power with x's sign bit.
inline float l3Pow43(int32_t x) {
  uint32_t m = x < 0 ? 0u - static_cast<uint32_t>(x) : static_cast<uint32_t>(x);
  m = m < static_cast<uint32_t>(kPow43Size) ? m : static_cast<uint32_t>(kPow43Size - 1);
  const uint32_t sign = static_cast<uint32_t>(x) & 0x80000000u;
  return std::bit_cast<float>(std::bit_cast<uint32_t>(gPow43[m]) | sign);
}

}  // namespace orva

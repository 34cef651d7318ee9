// Big-endian bit reader over a byte buffer with a 64-bit cache. It loads up
// to 8 bytes ahead of the read position, so every buffer it reads must have
// at least 8 readable bytes of slack past the data that matters.
#pragma once

#include <cstdint>
#include <cstring>

namespace orva {

struct BitReader {
  const uint8_t* base;
  const uint8_t* next;  // next byte to load
  uint64_t cache;       // valid bits at the top
  int32_t count;        // valid bits in the cache

  void start(const uint8_t* data, int32_t bitOffset) {
    base = data;
    next = data + (bitOffset >> 3);
    cache = 0;
    count = 0;
    refill();
    skip(bitOffset & 7);
  }
  // After this at least 56 bits are valid.
  void refill() {
    uint64_t w;
    std::memcpy(&w, next, 8);
    w = __builtin_bswap64(w);
    cache |= w >> count;
    const int32_t bytes = (63 - count) >> 3;
    next += bytes;
    count += bytes * 8;
  }
  uint32_t peek(int32_t n) const { return static_cast<uint32_t>(cache >> (64 - n)); }  // 1..32
  void skip(int32_t n) {
    cache <<= n;
    count -= n;
  }
  // n in 0..32; refills as needed.
  uint32_t read(int32_t n) {
    if (n == 0) return 0;
    if (count < n) refill();
    const uint32_t v = peek(n);
    skip(n);
    return v;
  }
  int32_t position() const { return static_cast<int32_t>(next - base) * 8 - count; }
};

}  // namespace orva

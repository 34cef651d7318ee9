// Building file images byte by byte for the tag tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tags/byte_io.h"

namespace orva::test {

struct Bytes {
  std::vector<uint8_t> v;

  Bytes& text(const std::string& s) {
    v.insert(v.end(), s.begin(), s.end());
    return *this;
  }
  Bytes& fill(size_t n, uint8_t value) {
    v.insert(v.end(), n, value);
    return *this;
  }
  Bytes& le16(uint16_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
    return *this;
  }
  Bytes& le32(uint32_t x) {
    le16(static_cast<uint16_t>(x));
    return le16(static_cast<uint16_t>(x >> 16));
  }
  Bytes& bytes(const std::vector<uint8_t>& b) {
    v.insert(v.end(), b.begin(), b.end());
    return *this;
  }
  // id, size, payload (no pad byte: callers add it where they want one)
  Bytes& chunk(const char* id, const std::vector<uint8_t>& payload) {
    text(id).le32(static_cast<uint32_t>(payload.size()));
    return bytes(payload);
  }
  // A "fmt " chunk of `size` bytes with the given tag.
  Bytes& fmt(uint16_t tag, uint32_t size = 16, uint16_t channels = 2, uint32_t rate = 44100, uint16_t bits = 16) {
    text("fmt ").le32(size);
    size_t start = v.size();
    le16(tag).le16(channels).le32(rate).le32(rate * channels * bits / 8).le16(4).le16(bits);
    while (v.size() - start < size) v.push_back(0);
    return *this;
  }
  // An INFO text sub-chunk the way this system writes one.
  Bytes& info(const char* id, const std::string& s) {
    text(id).le32(static_cast<uint32_t>(s.size() + 1)).text(s).fill(1, 0);
    if ((s.size() + 1) & 1) fill(1, 0);
    return *this;
  }
  // Patches the RIFF size field to the image's length - 8.
  Bytes& fixRiffSize() {
    uint32_t n = static_cast<uint32_t>(v.size() - 8);
    std::memcpy(v.data() + 4, &n, 4);  // tests run on little-endian hosts
    return *this;
  }
  uint32_t le32At(size_t at) const { return readLe32(v.data() + at); }
};

inline std::vector<uint8_t> tagBytes(const std::string& title, uint8_t genre = 12) {
  std::vector<uint8_t> t(128, 0);
  std::memcpy(t.data(), "TAG", 3);
  std::memcpy(t.data() + 3, title.data(), title.size() < 30 ? title.size() : 30);
  t[127] = genre;
  return t;
}

// Fake MPEG audio: a frame-sync-looking pattern of `n` bytes.
inline std::vector<uint8_t> fakeAudio(size_t n) {
  std::vector<uint8_t> a(n);
  for (size_t i = 0; i < n; ++i) a[i] = static_cast<uint8_t>(i * 7 + 1);
  if (n >= 2) {
    a[0] = 0xFF;
    a[1] = 0xFB;
  }
  return a;
}

// A sink collecting the bytes in memory.
struct VectorSink final : ByteSink {
  std::vector<uint8_t> v;
  bool write(const void* data, int64_t count) override {
    auto* p = static_cast<const uint8_t*>(data);
    v.insert(v.end(), p, p + count);
    return true;
  }
};

}  // namespace orva::test

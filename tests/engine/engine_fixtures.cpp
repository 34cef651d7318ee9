#include "tests/engine/engine_fixtures.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace orva::test {

Bytes frame(const uint8_t (&header)[4], int32_t size, uint8_t fill) {
  Bytes bytes(static_cast<size_t>(size), fill);
  std::copy(header, header + 4, bytes.begin());
  return bytes;
}

Bytes l3Frames(int32_t count, uint8_t fill) {
  Bytes bytes;
  for (int32_t i = 0; i < count; ++i) append(bytes, frame(kL3Header, kL3FrameSize, fill));
  return bytes;
}

Bytes l3XingFrame(uint32_t frameCount, uint32_t streamBytes) {
  Bytes bytes = frame(kL3Header, kL3FrameSize, 0);
  const uint8_t xing[16] = {'X', 'i', 'n', 'g', 0, 0, 0, 3,
                            uint8_t(frameCount >> 24), uint8_t(frameCount >> 16),
                            uint8_t(frameCount >> 8), uint8_t(frameCount),
                            uint8_t(streamBytes >> 24), uint8_t(streamBytes >> 16),
                            uint8_t(streamBytes >> 8), uint8_t(streamBytes)};
  std::copy(xing, xing + 16, bytes.begin() + 36);
  return bytes;
}

Bytes id3v1Tag(const std::string& title, const std::string& artist, uint8_t genre) {
  Bytes tag(128, 0);
  std::memcpy(tag.data(), "TAG", 3);
  std::memcpy(tag.data() + 3, title.data(), std::min<size_t>(30, title.size()));
  std::memcpy(tag.data() + 33, artist.data(), std::min<size_t>(30, artist.size()));
  std::memcpy(tag.data() + 93, "1999", 4);
  tag[127] = genre;
  return tag;
}

Bytes id3v2Tag(uint32_t size, bool withBody) {
  Bytes tag = {'I', 'D', '3', 3, 0, 0, uint8_t((size >> 21) & 0x7F), uint8_t((size >> 14) & 0x7F),
               uint8_t((size >> 7) & 0x7F), uint8_t(size & 0x7F)};
  if (withBody) tag.resize(10 + size, 0);
  return tag;
}

Bytes lyrics3Block(const std::string& body, const char* sizeField) {
  const std::string begin = "LYRICSBEGIN" + body;
  char size[7];
  if (sizeField == nullptr) {
    std::snprintf(size, sizeof size, "%06zu", begin.size());
    sizeField = size;
  }
  const std::string block = begin + sizeField + "LYRICS200";
  return Bytes(block.begin(), block.end());
}

void append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

void putLe32(Bytes& to, uint32_t v) {
  for (int i = 0; i < 4; ++i) to.push_back(uint8_t(v >> (8 * i)));
}

void putLe16(Bytes& to, uint16_t v) {
  to.push_back(uint8_t(v));
  to.push_back(uint8_t(v >> 8));
}

Bytes riffWave(uint16_t formatTag, uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& data,
               int64_t dataSizeField) {
  Bytes body = {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
  putLe32(body, 18);
  putLe16(body, formatTag);
  putLe16(body, channels);
  putLe32(body, rate);
  putLe32(body, rate * channels * bits / 8);
  putLe16(body, uint16_t(channels * bits / 8));
  putLe16(body, bits);
  putLe16(body, 0);
  append(body, {'d', 'a', 't', 'a'});
  putLe32(body, dataSizeField >= 0 ? uint32_t(dataSizeField) : uint32_t(data.size()));
  append(body, data);
  Bytes riff = {'R', 'I', 'F', 'F'};
  putLe32(riff, uint32_t(body.size()));
  append(riff, body);
  return riff;
}

}  // namespace orva::test

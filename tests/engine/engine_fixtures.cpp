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
  const uint8_t xing[16] = {'X',
                            'i',
                            'n',
                            'g',
                            0,
                            0,
                            0,
                            3,
                            uint8_t(frameCount >> 24),
                            uint8_t(frameCount >> 16),
                            uint8_t(frameCount >> 8),
                            uint8_t(frameCount),
                            uint8_t(streamBytes >> 24),
                            uint8_t(streamBytes >> 16),
                            uint8_t(streamBytes >> 8),
                            uint8_t(streamBytes)};
  std::copy(xing, xing + 16, bytes.begin() + 36);
  return bytes;
}

Bytes headerBytes(int32_t version, int32_t layer, int32_t bitrateIndex, int32_t rateIndex, bool padding, bool mono) {
  const uint8_t sync = version == 3 ? 0xE0 : 0xF0;
  const uint8_t id = version == 1 ? 0x08 : 0x00;
  const uint8_t b1 = static_cast<uint8_t>(sync | id | ((4 - layer) << 1) | 1);
  const uint8_t b2 = static_cast<uint8_t>((bitrateIndex << 4) | (rateIndex << 2) | (padding ? 2 : 0));
  return {0xFF, b1, b2, static_cast<uint8_t>(mono ? 0xC0 : 0x00)};
}

namespace {

uint32_t nextRandom(uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 24;
}

}  // namespace

Bytes syncFreeJunk(size_t count, uint32_t seed) {
  Bytes bytes(count);
  for (uint8_t& b : bytes) b = static_cast<uint8_t>(nextRandom(seed) % 255);
  return bytes;
}

Bytes freeFormatStream(const FreeFormatStream& s) {
  constexpr int32_t kRates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};
  const int64_t rate = kRates[s.version - 1][s.rateIndex];
  // Bytes per frame times the rate: slots of 4 bytes for Layer I, of one byte
  // otherwise; Layer III of MPEG-2 and 2.5 has half the samples per frame.
  const int32_t slot = s.layer == 1 ? 4 : 1;
  const int64_t samples = s.layer == 1 ? 384 : (s.layer == 3 && s.version != 1 ? 576 : 1152);
  const int64_t scaled = samples / 8 * s.kbps * 1000 / slot;  // slots x rate per frame
  Bytes out;
  uint32_t seed = static_cast<uint32_t>(s.kbps * 131 + s.layer * 7 + s.version);
  int64_t remainder = 0;
  for (int32_t f = 0; f < s.frames; ++f) {
    remainder += scaled % rate;
    const bool padding = remainder >= rate;
    if (padding) remainder -= rate;
    const int32_t length = static_cast<int32_t>(scaled / rate + (padding ? 1 : 0)) * slot;
    append(out, headerBytes(s.version, s.layer, 0, s.rateIndex, padding, s.mono));
    for (int32_t i = 4; i < length; ++i) out.push_back(static_cast<uint8_t>(nextRandom(seed)));
  }
  if (s.falseSyncAt >= 0 && static_cast<size_t>(s.falseSyncAt) <= out.size()) {
    const Bytes layer1 = headerBytes(1, 1, 14, 2, false, false);
    std::copy(layer1.begin(), layer1.end(), out.end() - s.falseSyncAt);
  }
  return out;
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
  Bytes tag = {'I',
               'D',
               '3',
               3,
               0,
               0,
               uint8_t((size >> 21) & 0x7F),
               uint8_t((size >> 14) & 0x7F),
               uint8_t((size >> 7) & 0x7F),
               uint8_t(size & 0x7F)};
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

// Byte builders for the engine tests: MPEG frames, tags and RIFF files made
// in memory and written to a temporary folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orva::test {

using Bytes = std::vector<uint8_t>;

// MPEG-1 Layer III, 128 kbit/s, 44100 Hz, stereo, no CRC: 417 bytes.
inline constexpr uint8_t kL3Header[4] = {0xFF, 0xFB, 0x90, 0x00};
inline constexpr int32_t kL3FrameSize = 417;

// One frame with the given header and every other byte `fill`.
Bytes frame(const uint8_t (&header)[4], int32_t size, uint8_t fill = 0x55);
// `count` MPEG-1 Layer III 128 kbit/s frames.
Bytes l3Frames(int32_t count, uint8_t fill = 0x55);
// The first frame with a "Xing" header (both counts) at byte 36.
Bytes l3XingFrame(uint32_t frameCount, uint32_t streamBytes);

// A free-format stream: bitrate index 0, frames as long as `kbps` makes
// them, padded the way an encoder keeps the average exact. The bytes after
// each header are a fixed pseudo-random sequence (audio data is full of
// sync-like pairs); `falseSyncAt`, when not negative, plants the header of an
// MPEG-1 Layer I 448 kbit/s 32 kHz frame that far before the end.
struct FreeFormatStream {
  int32_t version;    // 1, 2, or 3 for MPEG-2.5
  int32_t layer;      // 1..3
  int32_t rateIndex;  // 0..2
  bool mono;
  int32_t kbps;
  int32_t frames;
  int32_t falseSyncAt = -1;
};
Bytes freeFormatStream(const FreeFormatStream& stream);
// Four header bytes of a stream (protection bit set: no CRC).
Bytes headerBytes(int32_t version, int32_t layer, int32_t bitrateIndex, int32_t rateIndex, bool padding, bool mono);
// `count` bytes of a fixed pseudo-random sequence that holds no 0xFF byte.
Bytes syncFreeJunk(size_t count, uint32_t seed);

// ID3v1 tag with the texts (copied, zero-padded) and the genre.
Bytes id3v1Tag(const std::string& title, const std::string& artist, uint8_t genre);
// ID3v2 header with the synchsafe size and `size` zero bytes of body.
Bytes id3v2Tag(uint32_t size, bool withBody = true);
// Lyrics3 v2 block whose size field says `sizeField` over `body`.
Bytes lyrics3Block(const std::string& body, const char* sizeField = nullptr);

void append(Bytes& to, const Bytes& more);
void putLe32(Bytes& to, uint32_t value);
void putLe16(Bytes& to, uint16_t value);

// RIFF WAVE with a 16-byte (+2 extra-size bytes) fmt chunk and a data chunk.
// `dataSizeField` overrides the data chunk's size when not negative.
Bytes riffWave(uint16_t formatTag, uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& data,
               int64_t dataSizeField = -1);

}  // namespace orva::test

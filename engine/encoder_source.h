// The encoder's source: the chunk walk of a PCM RIFF WAVE file, a pure
// function over a ByteSource so that tests and the fuzz harness run it over
// bytes in memory. It learns the fmt chunk and where the audio of the data
// chunk lies; every size it reports is bounded by what the file holds.
#pragma once

#include <cstdint>
#include <vector>

#include "tags/byte_io.h"

namespace orva::encoder {

// A fmt chunk longer than this is not a wave format (the extensible form
// takes 40 bytes); it is refused before anything is allocated for it.
inline constexpr uint32_t kMaxFormatChunk = 1024;
inline constexpr uint32_t kMinFormatChunk = 16;

enum class SourceWalk {
  Ok,
  NotRiff,  // the first four bytes are not "RIFF" (or the file is shorter)
  NotWave,  // RIFF, but the form type is not "WAVE"
  NoAudio,  // WAVE without a usable fmt chunk before a data chunk
};

struct WaveSource {
  std::vector<uint8_t> format;  // the fmt chunk's payload as the file holds it
  uint16_t channels = 0;
  uint16_t bitsPerSample = 0;
  uint32_t samplesPerSecond = 0;
  uint32_t declaredDataSize = 0;  // the data chunk's size field
  int64_t dataStart = 0;          // first byte of the data chunk's payload
  int64_t dataSize = 0;           // bytes of payload the file really holds
};

// Walks the chunks of `file` up to its data chunk. On anything but Ok the
// contents of `out` are unspecified.
SourceWalk walkWaveSource(ByteSource& file, WaveSource& out);

}  // namespace orva::encoder

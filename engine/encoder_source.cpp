// The chunk walk behind encoderOpenSource. Chunks are skipped by their size
// plus the pad byte that RIFF puts after an odd-sized chunk: files from other
// writers carry odd-sized chunks (LIST text) in front of the audio, and
// reading the pad byte as the next header would lose the data chunk. The
// walk is bounded by the file's end and by a chunk count.
#include "engine/encoder_source.h"

#include <cstring>
#include <new>

namespace orva::encoder {
namespace {

constexpr int kMaxChunks = 4096;
constexpr int64_t kChunkHeader = 8;

bool idIs(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

SourceWalk readFormatChunk(ByteSource& file, int64_t offset, uint32_t size, WaveSource& out) {
  if (size < kMinFormatChunk || size > kMaxFormatChunk) return SourceWalk::NoAudio;
  uint8_t bytes[kMaxFormatChunk];
  if (!file.readAt(offset, bytes, size)) return SourceWalk::NoAudio;
  try {
    out.format.assign(bytes, bytes + size);
  } catch (const std::bad_alloc&) {
    return SourceWalk::NoAudio;
  }
  out.channels = readLe16(bytes + 2);
  out.samplesPerSecond = readLe32(bytes + 4);
  out.bitsPerSample = readLe16(bytes + 14);
  return SourceWalk::Ok;
}

}  // namespace

SourceWalk walkWaveSource(ByteSource& file, WaveSource& out) {
  const int64_t fileSize = file.size();
  uint8_t head[12];
  if (fileSize < 12 || !file.readAt(0, head, 12) || !idIs(head, "RIFF")) return SourceWalk::NotRiff;
  if (!idIs(head + 8, "WAVE")) return SourceWalk::NotWave;
  out.format.clear();
  int64_t offset = 12;
  for (int chunk = 0; chunk < kMaxChunks && fileSize - offset >= kChunkHeader; ++chunk) {
    uint8_t header[kChunkHeader];
    if (!file.readAt(offset, header, kChunkHeader)) return SourceWalk::NoAudio;
    const uint32_t size = readLe32(header + 4);
    const int64_t payload = offset + kChunkHeader;
    if (idIs(header, "data")) {
      if (out.format.empty()) return SourceWalk::NoAudio;
      out.declaredDataSize = size;
      out.dataStart = payload;
      out.dataSize = size < fileSize - payload ? size : fileSize - payload;
      return SourceWalk::Ok;
    }
    if (idIs(header, "fmt ")) {
      const SourceWalk format = readFormatChunk(file, payload, size, out);
      if (format != SourceWalk::Ok) return format;
    }
    offset = payload + size + (size & 1);
  }
  return SourceWalk::NoAudio;
}

}  // namespace orva::encoder

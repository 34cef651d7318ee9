// Sources over files and memory, and the buffered copy the writers use to
// carry the audio of the old file into the new one.
#include "tags/byte_io.h"

#include <cstring>

namespace orva {

bool FileSource::readAt(int64_t offset, void* buffer, int64_t count) {
  if (size_ < 0 || offset < 0 || count < 0 || offset > size_ || size_ - offset < count) return false;
  if (file_.readAt(offset, buffer, count)) return true;
  failed_ = true;
  return false;
}

bool MemorySource::readAt(int64_t offset, void* buffer, int64_t count) {
  if (offset < 0 || count < 0 || offset > size_) return false;
  if (size_ - offset < count) return false;
  if (count > 0) std::memcpy(buffer, data_ + offset, static_cast<size_t>(count));
  return true;
}

bool SplicedSource::readAt(int64_t offset, void* buffer, int64_t count) {
  if (offset < 0 || count < 0 || offset > size() || size() - offset < count) return false;
  auto* out = static_cast<uint8_t*>(buffer);
  if (offset < keep_) {
    int64_t n = keep_ - offset < count ? keep_ - offset : count;
    if (!head_.readAt(offset, out, n)) return false;
    out += n;
    offset += n;
    count -= n;
  }
  if (count > 0) std::memcpy(out, tail_ + (offset - keep_), static_cast<size_t>(count));
  return true;
}

bool copyBytes(ByteSource& from, int64_t offset, int64_t count, ByteSink& to) {
  constexpr int64_t kChunk = 16384;
  uint8_t buffer[kChunk];
  while (count > 0) {
    int64_t n = count < kChunk ? count : kChunk;
    if (!from.readAt(offset, buffer, n) || !to.write(buffer, n)) return false;
    offset += n;
    count -= n;
  }
  return true;
}

}  // namespace orva

// Finding the Lyrics3 v2 block in front of the ID3v1 tag. The engine takes
// its length off the audio at open; the INFO writer carries the block over.
#include "tags/lyrics3.h"

#include <cstring>

#include "tags/id3v1.h"

namespace orva {

int32_t findLyrics3(ByteSource& source, int64_t& length) {
  length = 0;
  int64_t end = source.size();
  if (end < 0) return 0;
  if (hasId3v1(source)) end -= kId3v1Size;
  // Six size digits and the nine-byte end marker.
  constexpr int64_t kTrailer = 15;
  if (end < kTrailer) return 0;
  uint8_t trailer[kTrailer];
  if (!source.readAt(end - kTrailer, trailer, kTrailer)) return 0;
  if (std::memcmp(trailer + 6, "LYRICS200", 9) != 0) return 0;
  int64_t size = 0;
  for (int i = 0; i < 6; ++i) {
    if (trailer[i] < '0' || trailer[i] > '9') return 0;
    size = size * 10 + (trailer[i] - '0');
  }
  if (end - kTrailer < size) return 0;
  length = size + kTrailer;
  return 1;
}

int32_t findLyrics3(platform::File& file, int64_t& length) {
  FileSource source(file);
  return findLyrics3(source, length);
}

}  // namespace orva

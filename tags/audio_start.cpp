// Locating a file's audio (see audio_start.h). Sizes read from the file only
// ever shrink the audio; it never reaches past the end of the file.
#include "tags/audio_start.h"

#include <algorithm>
#include <cstring>

#include "tags/id3v1.h"
#include "tags/lyrics3.h"

namespace orva {
namespace {

constexpr int64_t kLeadingHeader = 128;

// The ID3v1 tag and a Lyrics3 block in front of it are not audio.
void takeOffTrailingTags(ByteSource& source, AudioLocation& where) {
  uint8_t tag[3];
  where.hasId3v1 = where.fileSize >= kId3v1Size && source.readAt(where.fileSize - kId3v1Size, tag, 3) &&
                   std::memcmp(tag, "TAG", 3) == 0;
  if (where.hasId3v1) where.size -= kId3v1Size;
  int64_t length = 0;
  // A block claiming more than the bytes in front of it cannot be one.
  if (findLyrics3(source, length) == 1 && length > 0 && length <= where.size) {
    where.lyrics3Length = length;
    where.size -= length;
  }
}

int32_t walkRiff(ByteSource& source, InfoText& info, AudioLocation& where) {
  int64_t start = 0;
  int64_t size = where.size;
  const int32_t walked = walkRiffChunks(source, info, start, size, where.walk);
  // Without a data chunk there is nothing to play, whatever the format.
  if (walked != ENGINE_OK || where.walk.result.formatClass < 0) return ENGINE_ERR_RIFF_WALK;
  if (start < 0 || start > where.fileSize) return ENGINE_ERR_RIFF_WALK;
  where.start = start;
  where.size = std::clamp<int64_t>(size, 0, where.fileSize - start);
  where.pcm = where.walk.result.formatClass == 1;
  return ENGINE_OK;
}

// An ID3v2 tag where the audio would start; else a file whose first byte is
// 0 carries a 128-byte header of an old recorder in front of its frames.
void skipLeadingData(ByteSource& source, const uint8_t* head, AudioLocation& where) {
  int64_t at = where.start;
  if (skipId3v2Header(source, at) == 1) {
    where.id3v2 = true;
    where.id3v2Start = where.start;
    where.size -= std::clamp<int64_t>(at - where.start, 0, where.size);  // the tag's length
    where.start = at;
  } else if (!where.riff && head[0] == 0) {
    where.leadingHeader = true;
    where.start = kLeadingHeader;
  }
  where.size = std::clamp<int64_t>(where.size, 0, std::max<int64_t>(where.fileSize - where.start, 0));
}

}  // namespace

int32_t locateAudio(ByteSource& source, InfoText& info, AudioLocation& where) {
  where = AudioLocation{};
  std::memset(&info, 0, sizeof info);
  where.fileSize = source.size();
  where.size = where.fileSize;
  uint8_t head[4];
  if (where.fileSize < 4 || !source.readAt(0, head, 4)) return ENGINE_ERR_READ;
  takeOffTrailingTags(source, where);
  where.riff = std::memcmp(head, "RIFF", 4) == 0;
  if (where.riff) {
    const int32_t walked = walkRiff(source, info, where);
    if (walked != ENGINE_OK || where.pcm) return walked;
  }
  skipLeadingData(source, head, where);
  return ENGINE_OK;
}

}  // namespace orva

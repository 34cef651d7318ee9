// Reading an ID3v2 tag from a file. Most tags are small and read whole; a
// large one is mostly a cover picture, so only its frame headers are read
// and the frames that can hold a text are gathered into a copy of the tag
// for the parser.
#include <algorithm>
#include <cstring>
#include <vector>

#include "tags/id3v2.h"

namespace orva {

namespace {

// Tags up to this size are read in one piece.
constexpr int64_t kWholeTagBytes = 64 * 1024;
// A tag unsynchronised as a whole cannot be walked frame by frame; this
// much of it is read.
constexpr int64_t kUnsynchronisedTagBytes = 1024 * 1024;
// Larger text frames are skipped (a text longer than this is not a title).
constexpr uint32_t kLargestTextFrame = 256 * 1024;
constexpr int64_t kLargestExtendedHeader = 4096;

constexpr uint8_t kFlagUnsynchronised = 0x80;
constexpr uint8_t kFlagExtendedHeader = 0x40;
constexpr uint8_t kFlagFooter = 0x10;

bool holdsText(const uint8_t* id, int32_t version) {
  if (id[0] == 'T') return true;
  const char* names[] = {"COMM", "USLT", "COM", "ULT"};
  const size_t idSize = version == 2 ? 3 : 4;
  return std::any_of(std::begin(names), std::end(names), [&](const char* name) {
    return std::strlen(name) == idSize && std::memcmp(id, name, idSize) == 0;
  });
}

bool readInto(ByteSource& source, int64_t offset, int64_t count, std::vector<uint8_t>& out) {
  const size_t at = out.size();
  out.resize(at + static_cast<size_t>(count));
  if (count == 0 || source.readAt(offset, out.data() + at, count)) return true;
  out.resize(at);
  return false;
}

void putSynchsafe(uint8_t* field, uint32_t value) {
  for (int i = 3; i >= 0; --i, value >>= 7) field[i] = value & 0x7F;
}

// The header, the extended header and the text frames of the tag whose body
// is [bodyStart, bodyEnd), as one smaller tag.
std::vector<uint8_t> textFramesOf(ByteSource& source, const uint8_t* header, int64_t bodyStart, int64_t bodyEnd) {
  const int32_t version = header[3];
  std::vector<uint8_t> kept(header, header + kId3v2HeaderSize);
  kept[5] &= ~kFlagFooter;
  int64_t at = bodyStart;
  if ((header[5] & kFlagExtendedHeader) && version > 2) {
    uint8_t field[4];
    if (!source.readAt(at, field, 4)) return kept;
    const uint32_t size = version == 3 ? id3v2FrameSize(3, field) + 4 : id3v2FrameSize(4, field);
    if (size > kLargestExtendedHeader || !readInto(source, at, size, kept)) return kept;
    at += size;
  }
  const int64_t headerSize = version == 2 ? 6 : 10;
  const size_t idSize = version == 2 ? 3 : 4;
  uint8_t frame[10];
  while (at + headerSize <= bodyEnd && source.readAt(at, frame, headerSize) && frame[0] != 0) {
    const uint32_t size = id3v2FrameSize(version, std::span<const uint8_t>(frame + idSize, version == 2 ? 3 : 4));
    const int64_t length = std::min<int64_t>(size, bodyEnd - at - headerSize);
    if (holdsText(frame, version) && size <= kLargestTextFrame) {
      kept.insert(kept.end(), frame, frame + headerSize);
      if (!readInto(source, at + headerSize, length, kept)) break;
    }
    at += headerSize + length;
  }
  putSynchsafe(kept.data() + 6, static_cast<uint32_t>(kept.size() - kId3v2HeaderSize));
  return kept;
}

}  // namespace

bool readId3v2(ByteSource& source, int64_t offset, Id3v2Texts& out) {
  out = Id3v2Texts{};
  uint8_t header[kId3v2HeaderSize];
  if (!source.readAt(offset, header, kId3v2HeaderSize) || !parseId3v2(header, out)) return false;
  const int64_t tagBytes = out.tagBytes;
  const int64_t available = std::clamp<int64_t>(source.size() - offset, kId3v2HeaderSize, tagBytes);
  const bool wholeUnsynchronised = (header[5] & kFlagUnsynchronised) && header[3] < 4;
  std::vector<uint8_t> tag;
  if (available <= kWholeTagBytes || wholeUnsynchronised) {
    if (!readInto(source, offset, std::min(available, kUnsynchronisedTagBytes), tag)) return true;
  } else {
    const int64_t footer = header[3] == 4 && (header[5] & kFlagFooter) ? kId3v2HeaderSize : 0;
    tag = textFramesOf(source, header, offset + kId3v2HeaderSize, offset + std::min(available, tagBytes - footer));
  }
  parseId3v2(tag, out);
  out.tagBytes = tagBytes;
  return true;
}

}  // namespace orva

// ID3v1 parse and render, the readers over the last 128 bytes of a file, and
// the ID3v2 header skip. Used by the engine at open, by the file-path entry
// points and by the writers.
#include "tags/id3v1.h"

#include <cstring>

namespace orva {
namespace {

// Offsets of the fields inside the 128-byte tag.
constexpr int kTitleAt = 3;
constexpr int kArtistAt = 33;
constexpr int kAlbumAt = 63;
constexpr int kYearAt = 93;
constexpr int kCommentAt = 97;
constexpr int kGenreAt = 127;
constexpr int kFieldSize = 30;

bool isTag(const uint8_t* tag128) { return std::memcmp(tag128, "TAG", 3) == 0; }

template <typename Record>
void parseCommon(const uint8_t* tag128, Record& out) {
  std::memset(&out, 0, sizeof out);
  const char* text = reinterpret_cast<const char*>(tag128);
  trimTagText(out.title, text + kTitleAt);
  trimTagText(out.artist, text + kArtistAt);
  trimTagText(out.album, text + kAlbumAt);
  std::memcpy(out.year, text + kYearAt, 4);
  trimTagText(out.comment, text + kCommentAt);
  out.genre = tag128[kGenreAt];
  std::strcpy(out.genreName, genreName(out.genre));
}

// The slot's text up to its NUL (at most `width` bytes), zero-padded.
void putField(uint8_t* destination, const char* slot, int width) {
  int n = 0;
  while (n < width && slot[n] != '\0') ++n;
  std::memcpy(destination, slot, static_cast<size_t>(n));
  std::memset(destination + n, 0, static_cast<size_t>(width - n));
}

template <typename Record>
void renderCommon(Record& record, uint8_t* tag128) {
  if (record.genre < 0 || record.genre > 255) record.genre = kGenreOutOfRange;
  std::memcpy(tag128, "TAG", 3);
  putField(tag128 + kTitleAt, record.title, kFieldSize);
  putField(tag128 + kArtistAt, record.artist, kFieldSize);
  putField(tag128 + kAlbumAt, record.album, kFieldSize);
  putField(tag128 + kYearAt, record.year, 4);
  putField(tag128 + kCommentAt, record.comment, kFieldSize);
  tag128[kGenreAt] = static_cast<uint8_t>(record.genre);
}

bool readLastTag(ByteSource& source, uint8_t* tag128) {
  int64_t size = source.size();
  return size >= kId3v1Size && source.readAt(size - kId3v1Size, tag128, kId3v1Size) && isTag(tag128);
}

}  // namespace

void trimTagText(char* destination, const char* source30) {
  std::memcpy(destination, source30, kFieldSize);
  int last = kFieldSize - 1;
  while (last > 0 && destination[last] == ' ') --last;
  destination[last + 1] = '\0';
}

bool parseId3v1(const uint8_t* tag128, Id3v1Record& out) {
  if (!isTag(tag128)) return false;
  parseCommon(tag128, out);
  return true;
}

bool parseId3v11(const uint8_t* tag128, Id3v11Record& out) {
  if (!isTag(tag128)) return false;
  parseCommon(tag128, out);
  // ID3v1.1: a zero in comment byte 28 marks byte 29 as the track number.
  if (tag128[kCommentAt + 28] == 0) {
    out.track = tag128[kCommentAt + 29];
    out.comment[29] = '\0';
  } else {
    out.track = -1;
  }
  return true;
}

void renderId3v1(Id3v1Record& record, uint8_t* tag128) { renderCommon(record, tag128); }

void renderId3v11(Id3v11Record& record, uint8_t* tag128) {
  if (record.track >= 0 && record.track <= 255) {
    record.comment[28] = '\0';
    record.comment[29] = static_cast<char>(record.track);
  }
  renderCommon(record, tag128);
  if (record.track >= 0 && record.track <= 255) {
    tag128[kCommentAt + 28] = 0;
    tag128[kCommentAt + 29] = static_cast<uint8_t>(record.track);
  }
}

void makeBlankTag(uint8_t* tag128) {
  std::memcpy(tag128, "TAG", 3);
  std::memset(tag128 + 3, ' ', 124);
  tag128[kGenreAt] = static_cast<uint8_t>(kGenreBlankTag);
}

bool hasId3v1(ByteSource& source) {
  uint8_t tag[kId3v1Size];
  return readLastTag(source, tag);
}

int32_t readId3v1(ByteSource& source, Id3v1Record& out) {
  uint8_t tag[kId3v1Size];
  return readLastTag(source, tag) && parseId3v1(tag, out) ? 1 : 0;
}

int32_t readId3v11(ByteSource& source, Id3v11Record& out) {
  uint8_t tag[kId3v1Size];
  return readLastTag(source, tag) && parseId3v11(tag, out) ? 1 : 0;
}

int32_t readId3v1(platform::File& file, Id3v1Record& out) {
  FileSource source(file);
  return readId3v1(source, out);
}

int32_t readId3v11(platform::File& file, Id3v11Record& out) {
  FileSource source(file);
  return readId3v11(source, out);
}

int32_t skipId3v2Header(ByteSource& source, int64_t& offset) {
  uint8_t header[10];
  if (!source.readAt(offset, header, 10) || std::memcmp(header, "ID3", 3) != 0) return 0;
  // Synchsafe size: seven low bits of bytes 6..9, most significant first.
  int64_t tagSize = 0;
  for (int i = 6; i < 10; ++i) tagSize = (tagSize << 7) | (header[i] & 0x7F);
  int64_t remaining = source.size() - offset;
  offset += (tagSize + 10 < remaining) ? tagSize + 10 : remaining;
  return 1;
}

int32_t skipId3v2Header(platform::File& file, int64_t& offset) {
  FileSource source(file);
  return skipId3v2Header(source, offset);
}

}  // namespace orva

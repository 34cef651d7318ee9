// Lyrics3 v2 blocks: finding the block in front of the ID3v1 tag, parsing
// its fields, rendering a new block, and the file operations that read,
// write and remove it. The engine takes the block's length off the audio at
// open; the INFO writer and the conversions carry the block over.
#include "tags/lyrics3.h"

#include <cstring>
#include <new>

#include "tags/file_rewrite.h"
#include "tags/id3v1.h"
#include "tags/info_writer.h"
#include "tags/riff_walk.h"

namespace orva {
namespace {

constexpr char kBegin[] = "LYRICSBEGIN";
constexpr int64_t kBeginLength = 11;
constexpr int64_t kFieldHeader = 8;  // id and five digits

struct FieldSlot {
  const char* id;
  size_t offset;
  int64_t size;
};

// The fields in the order the writer stores them, with their slots.
constexpr FieldSlot kFields[] = {
    {"LYR", offsetof(Lyrics3Fields, lyrics), sizeof(Lyrics3Fields::lyrics)},
    {"INF", offsetof(Lyrics3Fields, info), sizeof(Lyrics3Fields::info)},
    {"AUT", offsetof(Lyrics3Fields, author), sizeof(Lyrics3Fields::author)},
    {"EAL", offsetof(Lyrics3Fields, album), sizeof(Lyrics3Fields::album)},
    {"EAR", offsetof(Lyrics3Fields, artist), sizeof(Lyrics3Fields::artist)},
    {"ETT", offsetof(Lyrics3Fields, title), sizeof(Lyrics3Fields::title)},
    {"IMG", offsetof(Lyrics3Fields, image), sizeof(Lyrics3Fields::image)},
};

// Decimal digits; -1 when one is not a digit.
int64_t l3Digits(const uint8_t* p, int count) {
  int64_t value = 0;
  for (int i = 0; i < count; ++i) {
    if (p[i] < '0' || p[i] > '9') return -1;
    value = value * 10 + (p[i] - '0');
  }
  return value;
}

void l3PutDigits(uint8_t* p, int count, int64_t value) {
  for (int i = count - 1; i >= 0; --i) {
    p[i] = static_cast<uint8_t>('0' + value % 10);
    value /= 10;
  }
}

// A slot's text: up to its NUL, trailing blanks cut.
int64_t l3TextLength(const char* slot, int64_t size) {
  int64_t n = 0;
  while (n < size && slot[n] != '\0') ++n;
  while (n > 0 && slot[n - 1] == ' ') --n;
  return n;
}

}  // namespace

int32_t findLyrics3(ByteSource& source, int64_t& length) {
  length = 0;
  int64_t end = source.size();
  if (end < 0) return 0;
  if (hasId3v1(source)) end -= kId3v1Size;
  if (end < kLyrics3Trailer) return 0;
  uint8_t trailer[kLyrics3Trailer];
  if (!source.readAt(end - kLyrics3Trailer, trailer, kLyrics3Trailer)) return 0;
  if (std::memcmp(trailer + 6, "LYRICS200", 9) != 0) return 0;
  int64_t size = l3Digits(trailer, 6);
  if (size < 0 || end - kLyrics3Trailer < size) return 0;
  length = size + kLyrics3Trailer;
  return 1;
}

int32_t findLyrics3(platform::File& file, int64_t& length) {
  FileSource source(file);
  return findLyrics3(source, length);
}

bool parseLyrics3(const uint8_t* bytes, int64_t length, Lyrics3Fields& out) {
  std::memset(&out, 0, sizeof out);
  if (length < kBeginLength || std::memcmp(bytes, kBegin, kBeginLength) != 0) return false;
  int64_t pos = kBeginLength;
  // Every field takes at least its 8-byte header, so the walk is bounded.
  while (length - pos >= kFieldHeader) {
    const uint8_t* field = bytes + pos;
    int64_t size = l3Digits(field + 3, 5);
    if (size < 0) break;
    pos += kFieldHeader;
    int64_t held = length - pos;
    int64_t present = size < held ? size : held;
    const uint8_t* data = bytes + pos;
    if (std::memcmp(field, "IND", 3) == 0) {
      if (present >= 1) out.indicators[0] = static_cast<char>(data[0]);
      if (present >= 2) out.indicators[1] = static_cast<char>(data[1]);
    }
    for (const FieldSlot& slot : kFields) {
      if (std::memcmp(field, slot.id, 3) != 0) continue;
      int64_t n = present < slot.size ? present : slot.size;
      std::memcpy(reinterpret_cast<char*>(&out) + slot.offset, data, static_cast<size_t>(n));
    }
    if (size > held) break;  // a damaged length leaves the block
    pos += size;
  }
  return true;
}

int64_t renderLyrics3(const Lyrics3Fields& fields, uint8_t* out) {
  std::memcpy(out, kBegin, kBeginLength);
  int64_t pos = kBeginLength;
  std::memcpy(out + pos, "IND00002", 8);
  // A zero indicator byte is stored as the digit '0'.
  out[pos + 8] = fields.indicators[0] != '\0' ? static_cast<uint8_t>(fields.indicators[0]) : '0';
  out[pos + 9] = fields.indicators[1] != '\0' ? static_cast<uint8_t>(fields.indicators[1]) : '0';
  pos += 10;
  for (const FieldSlot& slot : kFields) {
    const char* text = reinterpret_cast<const char*>(&fields) + slot.offset;
    int64_t n = l3TextLength(text, slot.size);
    std::memcpy(out + pos, slot.id, 3);
    l3PutDigits(out + pos + 3, 5, n);
    std::memcpy(out + pos + kFieldHeader, text, static_cast<size_t>(n));
    pos += kFieldHeader + n;
  }
  l3PutDigits(out + pos, 6, pos);
  std::memcpy(out + pos + 6, "LYRICS200", 9);
  return pos + kLyrics3Trailer;
}

int32_t copyLyrics3(ByteSource& source, LyricsCopy& copy) {
  copy = LyricsCopy{};
  int64_t length = 0;
  if (!findLyrics3(source, length) || length == 0) return 0;
  int64_t padded = length + (length & 1);
  copy.bytes.reset(new (std::nothrow) uint8_t[static_cast<size_t>(padded)]);
  if (!copy.bytes) return ENGINE_ERR_MEMORY;
  copy.bytes[0] = 0;
  int64_t start = source.size() - (hasId3v1(source) ? kId3v1Size : 0) - length;
  if (!source.readAt(start, copy.bytes.get() + (padded - length), length)) {
    copy = LyricsCopy{};
    return ENGINE_ERR_READ;
  }
  copy.length = length;
  return 0;
}

int32_t readLyrics3(ByteSource& source, Lyrics3Fields& fields, int32_t& failure) {
  failure = 0;
  LyricsCopy copy;
  failure = copyLyrics3(source, copy);
  if (failure != 0 || copy.length == 0) return 0;
  return parseLyrics3(copy.block(), copy.length - kLyrics3Trailer, fields) ? 1 : 0;
}

int32_t renderLyrics3Rewrite(ByteSource& old, const Lyrics3Fields* fields, int32_t placement, ByteSink& out) {
  int64_t size = old.size();
  uint8_t head[4];
  uint8_t tag[kId3v1Size];
  if (size < kId3v1Size || !old.readAt(0, head, 4) || !old.readAt(size - kId3v1Size, tag, kId3v1Size))
    return ENGINE_ERR_READ;
  bool tagged = std::memcmp(tag, "TAG", 3) == 0;
  if (!tagged) makeBlankTag(tag);
  int64_t oldBlock = 0;
  findLyrics3(old, oldBlock);
  int64_t keep = size - (tagged ? kId3v1Size : 0) - oldBlock;

  // The new tail: the block (when asked for) and the tag.
  std::unique_ptr<uint8_t[]> tail(new (std::nothrow) uint8_t[kLyrics3MaxBlock + kId3v1Size]);
  if (!tail) return ENGINE_ERR_MEMORY;
  int64_t tailLength = fields != nullptr ? renderLyrics3(*fields, tail.get()) : 0;
  std::memcpy(tail.get() + tailLength, tag, kId3v1Size);
  tailLength += kId3v1Size;
  SplicedSource result(old, keep, tail.get(), tailLength);

  if (std::memcmp(head, "RIFF", 4) != 0) return copyBytes(result, 0, result.size(), out) ? 0 : ENGINE_ERR_WRITE;
  // A RIFF file: its LIST chunk is rebuilt around the new block from the
  // extended INFO text.
  std::unique_ptr<InfoTextLong> text(new (std::nothrow) InfoTextLong);
  if (!text) return ENGINE_ERR_MEMORY;
  readInfoLongFrom(result, *text);
  return renderInfoLongRewrite(result, *text, placement, out);
}

int32_t readLyrics3Fields(const char* path, Lyrics3Fields& fields) {
  std::memset(&fields, 0, sizeof fields);
  platform::File file;
  if (path == nullptr || path[0] == '\0' || !file.open(path, platform::FileMode::Read)) return ENGINE_ERR_OPEN;
  FileSource source(file);
  int32_t failure = 0;
  if (readLyrics3(source, fields, failure)) return ENGINE_OK;
  return failure != 0 ? failure : kNoLyrics3Block;
}

int32_t writeLyrics3Block(const char* path, const Lyrics3Fields* fields, int32_t placement) {
  return rewriteFile(path,
                     [&](ByteSource& old, ByteSink& out) { return renderLyrics3Rewrite(old, fields, placement, out); });
}

}  // namespace orva

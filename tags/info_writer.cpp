// Rendering a RIFF file with a new LIST INFO chunk. The chunk header and the
// text sub-chunks are assembled in one buffer; the audio is copied from the
// old file unchanged, and the Lyrics3 block and tag follow the text.
#include "tags/info_writer.h"

#include <cstring>
#include <new>

#include "orva_engine.h"
#include "tags/file_rewrite.h"
#include "tags/id3v1.h"
#include "tags/lyrics3.h"

namespace orva {
namespace {

// Slot indexes in the order the writers store them (genre before date);
// ILYC comes last, as text or as the Lyrics3 carrier.
constexpr int kWriteOrder[] = {0, 1, 2, 3, 5, 4, 6, 7, 8, 9, 10, 11, 13, 12};
constexpr int kLongWriteOrder[] = {0, 1, 2, 3, 5, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

// The text of a slot: up to its NUL, at most slotSize - 1 bytes, trailing
// blanks cut.
int32_t infoTextLength(const char* slot, int32_t slotSize) {
  int32_t n = 0;
  while (n < slotSize - 1 && slot[n] != '\0') ++n;
  while (n > 0 && slot[n - 1] == ' ') --n;
  return n;
}

int64_t infoPutHeader(uint8_t* at, const char* id, uint32_t size) {
  std::memcpy(at, id, 4);
  writeLe32(at + 4, size);
  return 8;
}

int64_t infoFieldLength(const InfoField& field) { return 8 + field.length + 1 + ((field.length + 1) & 1); }

int64_t infoPutText(uint8_t* at, const InfoField& field) {
  int64_t used = infoPutHeader(at, field.id, static_cast<uint32_t>(field.length + 1));
  std::memcpy(at + used, field.text, static_cast<size_t>(field.length));
  used += field.length;
  at[used++] = 0;
  if ((field.length + 1) & 1) at[used++] = 0;
  return used;
}

template <typename Text, size_t N>
int32_t renderTextRewrite(ByteSource& old, const Text& text, const int (&order)[N], int32_t placement,
                          const uint8_t* tagOverride, ByteSink& out) {
  constexpr int32_t slotSize = sizeof text.slots[0];
  InfoField fields[N];
  for (size_t i = 0; i < N; ++i) {
    const char* slot = text.slots[order[i]];
    int32_t id = order[i];
    fields[i] = {N == kInfoSlotCount ? INFO_SLOT_IDS[id] : INFO_LONG_SLOT_IDS[id], slot,
                 infoTextLength(slot, slotSize)};
  }
  return renderListRewrite(old, fields, static_cast<int>(N), placement, tagOverride, out);
}

}  // namespace

int32_t ListChunk::build(const InfoField* fields, int count, const LyricsCopy& lyrics, int32_t placement,
                         const uint8_t* tag128) {
  bool carry = lyrics.length > 0 && placement != 2;
  int64_t size = 12 + 8;
  for (int i = 0; i < count; ++i) size += infoFieldLength(fields[i]);
  head_.reset(new (std::nothrow) uint8_t[static_cast<size_t>(size)]);
  if (!head_) return ENGINE_ERR_MEMORY;
  uint8_t* list = head_.get();
  std::memcpy(tag_, tag128, sizeof tag_);
  lyrics_ = carry ? lyrics.padded() : nullptr;
  lyricsLength_ = carry ? lyrics.paddedLength() : 0;
  tailLength_ = lyricsLength_ + kId3v1Size;
  int64_t used = 12;
  const int last = count - 1;  // ILYC
  for (int i = 0; i < last; ++i) used += infoPutText(list + used, fields[i]);
  if (carry && placement == 0) {
    used += infoPutHeader(list + used, "ILYC", static_cast<uint32_t>(tailLength_));
  } else {
    used += infoPutText(list + used, fields[last]);
    used += infoPutHeader(list + used, "IID3", static_cast<uint32_t>(tailLength_));
  }
  used_ = used;
  std::memcpy(list, "LIST", 4);
  writeLe32(list + 4, static_cast<uint32_t>(length() - 8));
  std::memcpy(list + 8, "INFO", 4);
  return 0;
}

bool ListChunk::write(ByteSink& out) const {
  return out.write(head_.get(), used_) && (lyricsLength_ == 0 || out.write(lyrics_, lyricsLength_)) &&
         out.write(tag_, kId3v1Size);
}

int32_t renderListRewrite(ByteSource& old, const InfoField* fields, int count, int32_t placement,
                          const uint8_t* tagOverride, ByteSink& out) {
  uint8_t riff[12];
  if (!old.readAt(0, riff, 4)) return ENGINE_ERR_READ;
  if (std::memcmp(riff, "RIFF", 4) != 0) return ENGINE_ERR_RIFF_KIND;
  if (!old.readAt(0, riff, 12)) return ENGINE_ERR_READ;
  int64_t payload = 0;
  int64_t audioSize = 0;
  if (int32_t code = findDataChunk(old, payload, audioSize)) return code;
  const int64_t audioEnd = payload + audioSize;
  const bool odd = (audioSize & 1) != 0;

  uint8_t tag[kId3v1Size];
  int64_t fileSize = old.size();
  if (fileSize < kId3v1Size || !old.readAt(fileSize - kId3v1Size, tag, kId3v1Size)) return ENGINE_ERR_READ;
  if (std::memcmp(tag, "TAG", 3) != 0) makeBlankTag(tag);
  if (tagOverride != nullptr) std::memcpy(tag, tagOverride, kId3v1Size);
  LyricsCopy lyrics;
  if (int32_t code = copyLyrics3(old, lyrics)) return code;
  ListChunk list;
  if (int32_t code = list.build(fields, count, lyrics, placement, tag)) return code;

  int64_t total = audioEnd + (odd ? 1 : 0) + list.length();
  if (total - 8 > 0xFFFFFFFFll) return ENGINE_ERR_WRITE;
  writeLe32(riff + 4, static_cast<uint32_t>(total - 8));
  static constexpr uint8_t kZero = 0;
  bool ok =
      out.write(riff, 8) && copyBytes(old, 8, audioEnd - 8, out) && (!odd || out.write(&kZero, 1)) && list.write(out);
  return ok ? 0 : ENGINE_ERR_WRITE;
}

int32_t renderInfoRewrite(ByteSource& old, const InfoText& text, int32_t placement, const uint8_t* tagOverride,
                          ByteSink& out) {
  return renderTextRewrite(old, text, kWriteOrder, placement, tagOverride, out);
}

int32_t renderInfoLongRewrite(ByteSource& old, const InfoTextLong& text, int32_t placement, ByteSink& out) {
  return renderTextRewrite(old, text, kLongWriteOrder, placement, nullptr, out);
}

int32_t writeInfoFile(const char* path, const InfoText& text, int32_t placement) {
  return rewriteFile(
      path, [&](ByteSource& old, ByteSink& out) { return renderInfoRewrite(old, text, placement, nullptr, out); });
}

int32_t writeInfoLongFile(const char* path, const InfoTextLong& text, int32_t placement) {
  return rewriteFile(path,
                     [&](ByteSource& old, ByteSink& out) { return renderInfoLongRewrite(old, text, placement, out); });
}

}  // namespace orva

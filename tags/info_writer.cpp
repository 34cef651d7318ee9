// Rendering a RIFF file with a new LIST INFO chunk. The chunk header and the
// text sub-chunks are assembled in a fixed buffer; the audio is copied from
// the old file unchanged.
#include "tags/info_writer.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <new>

#include "engine/orva_engine.h"
#include "tags/file_rewrite.h"
#include "tags/id3v1.h"
#include "tags/lyrics3.h"
#include "tags/status.h"

namespace orva {
namespace {

constexpr int kMaxChunks = 1024;
// Slot indexes of InfoText in the order the writer stores them; ILYC (12)
// follows, as text or as the Lyrics3 carrier.
constexpr int kWriteOrder[] = {0, 1, 2, 3, 5, 4, 6, 7, 8, 9, 10, 11, 13};
constexpr int kIlycSlot = 12;
// "LIST", size, "INFO"; 14 text sub-chunks of at most 8 + 128; one more
// sub-chunk header and a tag.
constexpr int kListBufferSize = 12 + kInfoSlotCount * (8 + 128) + 8 + kId3v1Size;

std::atomic<int32_t> placementMode{0};

struct AudioSpan {
  int64_t end;      // offset just after the audio
  bool odd;         // a pad byte follows it
};

// Finds the data chunk by skipping chunks by their size; 0 or a status code.
int32_t infoFindAudio(ByteSource& old, AudioSpan& span) {
  int64_t fileSize = old.size();
  int64_t pos = 12;
  for (int n = 0; n < kMaxChunks; ++n) {
    uint8_t header[8];
    if (!old.readAt(pos, header, 8)) return ENGINE_ERR_READ;
    int64_t size = readLe32(header + 4);
    int64_t payload = pos + 8;
    if (std::memcmp(header, "data", 4) == 0) {
      int64_t held = fileSize - payload;
      int64_t audioSize = size < held ? size : held;
      span.end = payload + audioSize;
      span.odd = (audioSize & 1) != 0;
      return 0;
    }
    pos = payload + size;
  }
  return ENGINE_ERR_READ;
}

// The text of a slot: up to its NUL, at most 127 bytes, trailing blanks cut.
int infoTextLength(const char* slot) {
  int n = 0;
  while (n < 127 && slot[n] != '\0') ++n;
  while (n > 0 && slot[n - 1] == ' ') --n;
  return n;
}

int infoPutHeader(uint8_t* at, const char* id, uint32_t size) {
  std::memcpy(at, id, 4);
  writeLe32(at + 4, size);
  return 8;
}

int infoPutText(uint8_t* at, const char* id, const char* slot) {
  int n = infoTextLength(slot);
  int used = infoPutHeader(at, id, static_cast<uint32_t>(n + 1));
  std::memcpy(at + used, slot, static_cast<size_t>(n));
  used += n;
  at[used++] = 0;
  if ((n + 1) & 1) at[used++] = 0;
  return used;
}

// The Lyrics3 block in memory, with a leading zero byte when its length is
// odd so that the sub-chunk carrying it stays even.
struct LyricsCopy {
  std::unique_ptr<uint8_t[]> bytes;
  int64_t length = 0;  // even
};

int32_t infoReadLyrics(ByteSource& old, bool tagged, LyricsCopy& copy) {
  int64_t length = 0;
  if (!findLyrics3(old, length) || length == 0) return 0;
  int64_t padded = length + (length & 1);
  copy.bytes.reset(new (std::nothrow) uint8_t[static_cast<size_t>(padded)]);
  if (!copy.bytes) return ENGINE_ERR_MEMORY;
  copy.bytes[0] = 0;
  int64_t start = old.size() - (tagged ? kId3v1Size : 0) - length;
  if (!old.readAt(start, copy.bytes.get() + (padded - length), length)) return ENGINE_ERR_READ;
  copy.length = padded;
  return 0;
}

}  // namespace

int32_t lyricsPlacement() { return placementMode.load(std::memory_order_relaxed); }

void setLyricsPlacement(int32_t mode) {
  placementMode.store(mode >= 0 && mode <= 2 ? mode : 0, std::memory_order_relaxed);
}

int32_t renderInfoRewrite(ByteSource& old, const InfoText& text, int32_t placement,
                          const uint8_t* tagOverride, ByteSink& out) {
  uint8_t riff[12];
  if (!old.readAt(0, riff, 4)) return ENGINE_ERR_READ;
  if (std::memcmp(riff, "RIFF", 4) != 0) return ENGINE_ERR_RIFF_KIND;
  if (!old.readAt(0, riff, 12)) return ENGINE_ERR_READ;
  AudioSpan audio{};
  if (int32_t code = infoFindAudio(old, audio)) return code;

  uint8_t tag[kId3v1Size];
  int64_t fileSize = old.size();
  if (fileSize < kId3v1Size || !old.readAt(fileSize - kId3v1Size, tag, kId3v1Size)) return ENGINE_ERR_READ;
  bool tagged = std::memcmp(tag, "TAG", 3) == 0;
  if (!tagged) makeBlankTag(tag);
  if (tagOverride != nullptr) std::memcpy(tag, tagOverride, kId3v1Size);
  LyricsCopy lyrics;
  if (int32_t code = infoReadLyrics(old, tagged, lyrics)) return code;
  bool carryLyrics = lyrics.length > 0 && placement != 2;

  uint8_t list[kListBufferSize] = {};
  int used = 12;
  for (int slot : kWriteOrder) used += infoPutText(list + used, INFO_SLOT_IDS[slot], text.slots[slot]);
  int64_t tail = kId3v1Size + (carryLyrics ? lyrics.length : 0);  // bytes behind the last header
  if (carryLyrics && placement == 0) {
    used += infoPutHeader(list + used, "ILYC", static_cast<uint32_t>(tail));
  } else {
    used += infoPutText(list + used, "ILYC", text.slots[kIlycSlot]);
    used += infoPutHeader(list + used, "IID3", static_cast<uint32_t>(tail));
  }
  int64_t listLength = used + tail;
  int64_t audioEnd = audio.end + (audio.odd ? 1 : 0);
  int64_t total = audioEnd + listLength;
  if (total - 8 > 0xFFFFFFFFll) return ENGINE_ERR_WRITE;
  std::memcpy(list, "LIST", 4);
  writeLe32(list + 4, static_cast<uint32_t>(listLength - 8));
  std::memcpy(list + 8, "INFO", 4);
  writeLe32(riff + 4, static_cast<uint32_t>(total - 8));

  static constexpr uint8_t kZero = 0;
  bool ok = out.write(riff, 8) && copyBytes(old, 8, audio.end - 8, out) &&
            (!audio.odd || out.write(&kZero, 1)) && out.write(list, used) &&
            (!carryLyrics || out.write(lyrics.bytes.get(), lyrics.length)) && out.write(tag, kId3v1Size);
  return ok ? 0 : ENGINE_ERR_WRITE;
}

int32_t writeInfo(const char* path, const InfoText& text) {
  platform::File file;
  if (path == nullptr || path[0] == '\0' || !file.open(path, platform::FileMode::ReadWrite)) {
    setStatus(ENGINE_ERR_OPEN);
    return 0;
  }
  FileRewrite rewrite(path);
  FileSource old(file);
  int32_t code = renderInfoRewrite(old, text, lyricsPlacement(), nullptr, rewrite);
  file.close();
  if (code == 0 && !rewrite.commit()) code = ENGINE_ERR_WRITE;
  if (code != 0) setStatus(code);
  return code == 0 ? 1 : 0;
}

}  // namespace orva

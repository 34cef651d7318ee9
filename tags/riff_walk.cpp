// The RIFF chunk walk: "fmt " gives the format class, "data" the audio, and a
// LIST INFO chunk after the audio the INFO text. Chunks before the audio are
// skipped by their size; the data chunk's pad byte is honoured because files
// written by others put one there. Every walk ends at the file's end or after
// kMaxChunks chunks, whichever comes first.
#include "tags/riff_walk.h"

#include <cstring>

namespace orva {

const char* const INFO_SLOT_IDS[kInfoSlotCount] = {"INAM", "IART", "IPRD", "ICMT", "ICRD", "IGNR", "ICOP",
                                                   "IENG", "ISRC", "ISFT", "IKEY", "ITCH", "ILYC", "ICMS"};
const char* const INFO_LONG_SLOT_IDS[kInfoLongSlotCount] = {"INAM", "IART", "IPRD", "ICMT", "ICRD", "IGNR",
                                                            "ICOP", "IENG", "ISRC", "ISFT", "IKEY", "ITCH",
                                                            "ICMS", "IMED", "ISBJ", "IMP3", "ILYC"};

namespace {

constexpr int kMaxChunks = 1024;
constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatMpeg = 80;
constexpr uint16_t kFormatMpegLayer3 = 85;

bool idIs(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

// Where a walk stores the INFO texts: the standard or the extended form.
struct InfoSlots {
  const char* const* ids;
  int count;
  char* base;
  int64_t slotSize;
};

InfoSlots slotsOf(InfoText& text) { return {INFO_SLOT_IDS, kInfoSlotCount, &text.slots[0][0], 128}; }
InfoSlots slotsOf(InfoTextLong& text) { return {INFO_LONG_SLOT_IDS, kInfoLongSlotCount, &text.slots[0][0], 2048}; }

int infoSlotOf(const InfoSlots& slots, const uint8_t* id) {
  for (int i = 0; i < slots.count; ++i)
    if (idIs(id, slots.ids[i])) return i;
  return -1;
}

// Reads the format record at `payload`; false ends the walk.
bool riffTakeFormat(ByteSource& source, int64_t payload, RiffWalk& walk) {
  uint8_t raw[18];
  if (!source.readAt(payload, raw, sizeof raw)) {
    walk.result.formatClass = -1;
    return false;
  }
  WaveFormatRecord& f = walk.format;
  f.formatTag = readLe16(raw);
  f.channels = readLe16(raw + 2);
  f.samplesPerSecond = readLe32(raw + 4);
  f.averageBytesPerSecond = readLe32(raw + 8);
  f.blockAlign = readLe16(raw + 12);
  f.bitsPerSample = readLe16(raw + 14);
  f.extraSize = readLe16(raw + 16);
  walk.formatSeen = true;
  if (f.formatTag == kFormatMpeg || f.formatTag == kFormatMpegLayer3) return true;
  if (f.formatTag == kFormatPcm) {
    walk.result.formatClass = 1;
    return true;
  }
  walk.result.formatClass = -1;
  return false;
}

// The sub-chunks of a LIST INFO chunk whose type field is at `at`.
void riffReadInfo(ByteSource& source, int64_t at, int64_t remaining, const InfoSlots& info) {
  int64_t fileSize = source.size();
  int64_t pos = at + 4;
  for (int n = 0; n < kMaxChunks && remaining > 8; ++n) {
    uint8_t header[8];
    if (!source.readAt(pos, header, 8)) return;
    int64_t size = readLe32(header + 4);
    int64_t payload = pos + 8;
    if (payload > fileSize || fileSize - payload < size) return;  // cut short
    int slot = infoSlotOf(info, header);
    if (slot >= 0) {
      int64_t keep = size < info.slotSize - 1 ? size : info.slotSize - 1;
      char* text = info.base + slot * info.slotSize;
      if (!source.readAt(payload, text, keep)) return;
      text[keep] = '\0';
      // A sub-chunk that carries the Lyrics3 block and the tag holds no text.
      if (keep >= 11 && std::memcmp(text, "LYRICSBEGIN", 11) == 0) text[0] = '\0';
    }
    int64_t step = 8 + size + (size & 1);
    remaining -= step;
    pos += step;
  }
}

// The chunks after the audio, up to a LIST chunk.
void riffWalkAfterData(ByteSource& source, int64_t pos, int chunksSeen, const InfoSlots& info, RiffWalk& walk) {
  for (int n = chunksSeen; n < kMaxChunks; ++n) {
    uint8_t header[8];
    if (!source.readAt(pos, header, 8)) return;
    int64_t size = readLe32(header + 4);
    if (idIs(header, "LIST")) {
      walk.listOffset = pos;
      walk.listSize = size;
      walk.result.listOffset = pos <= INT32_MAX ? static_cast<int32_t>(pos) : 0;
      walk.result.listSize = static_cast<int32_t>(size <= INT32_MAX ? size : INT32_MAX);
      uint8_t type[4];
      if (!source.readAt(pos + 8, type, 4) || !idIs(type, "INFO")) return;
      walk.listIsInfo = true;
      riffReadInfo(source, pos + 8, size - 4, info);
      return;
    }
    pos += 8 + size;
  }
}

int32_t riffWalk(ByteSource& source, const InfoSlots& info, int64_t& audioStart, int64_t& audioSize, RiffWalk& walk) {
  walk = RiffWalk{};
  std::memset(info.base, 0, static_cast<size_t>(info.count * info.slotSize));
  uint8_t riff[12];
  if (!source.readAt(0, riff, sizeof riff) || !idIs(riff, "RIFF")) return 0;
  int64_t fileSize = source.size();
  audioStart = 12;
  int64_t pos = 12;
  for (int n = 0; n < kMaxChunks; ++n) {
    uint8_t header[8];
    if (!source.readAt(pos, header, 8)) return 0;
    int64_t size = readLe32(header + 4);
    int64_t payload = pos + 8;
    if (idIs(header, "fmt ")) {
      if (!riffTakeFormat(source, payload, walk)) return 0;
    } else if (idIs(header, "data")) {
      int64_t held = fileSize - payload;  // >= 0: the header was read
      if (size < audioSize) audioSize = size;
      if (held < audioSize) audioSize = held;
      audioStart = payload;
      int64_t next = payload + size + (size & 1);
      if (next <= fileSize) riffWalkAfterData(source, next, n + 1, info, walk);
      return 1;
    }
    pos = payload + size;
    audioStart = pos;
  }
  return 0;
}

}  // namespace

int32_t walkRiffChunks(ByteSource& source, InfoText& info, int64_t& audioStart, int64_t& audioSize, RiffWalk& walk) {
  return riffWalk(source, slotsOf(info), audioStart, audioSize, walk) == 1 ? ENGINE_OK : ENGINE_ERR_RIFF_WALK;
}

int32_t findDataChunk(ByteSource& source, int64_t& payload, int64_t& size) {
  int64_t fileSize = source.size();
  int64_t pos = 12;
  for (int n = 0; n < kMaxChunks; ++n) {
    uint8_t header[8];
    if (!source.readAt(pos, header, 8)) return ENGINE_ERR_READ;
    int64_t chunkSize = readLe32(header + 4);
    if (idIs(header, "data")) {
      payload = pos + 8;
      size = chunkSize < fileSize - payload ? chunkSize : fileSize - payload;
      return ENGINE_OK;
    }
    pos += 8 + chunkSize;
  }
  return ENGINE_ERR_READ;
}

int32_t readInfoLongFrom(ByteSource& source, InfoTextLong& text) {
  int64_t audioStart = 0;
  int64_t audioSize = source.size();
  RiffWalk walk;
  const int32_t found = riffWalk(source, slotsOf(text), audioStart, audioSize, walk);
  // The extended reader takes MPEG formats only.
  if (walk.formatSeen && walk.format.formatTag != kFormatMpeg && walk.format.formatTag != kFormatMpegLayer3)
    return ENGINE_ERR_RIFF_WALK;
  return found == 1 ? ENGINE_OK : ENGINE_ERR_RIFF_WALK;
}

}  // namespace orva

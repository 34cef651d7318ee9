// The tag layout probe and the file information read. Both look only at the
// container, the tags and the first frame's header; the audio is not read.
#include "tags/file_info.h"

#include <cstring>

#include "decoder/frame_header.h"
#include "engine/units.h"
#include "tags/first_frame.h"
#include "tags/id3v1.h"
#include "tags/lyrics3.h"
#include "tags/riff_walk.h"
#include "tags/status.h"

namespace orva {
namespace {

constexpr int64_t kLeadingHeader = 128;

// The engine's first-frame search with the decoder's current options, as a
// status code. `end` may lie past the source (a leading 128-byte block).
int32_t firstFrameStatus(ByteSource& source, int64_t start, int64_t end, MpegFrameHeader& header) {
  DecoderOptions options{};
  getDecoderOptions(options);
  const int64_t size = source.size();
  int64_t offset = 0;
  switch (findFirstFrame(source, start, end < size ? end : size, options, offset, header)) {
    case FirstFrameSearch::Found: return ENGINE_OK;
    case FirstFrameSearch::ReadFailed: return ENGINE_ERR_READ;
    case FirstFrameSearch::NoSync: return ENGINE_ERR_NO_SYNC;
    case FirstFrameSearch::BadHeader: return ENGINE_ERR_BAD_HEADER;
  }
  return ENGINE_ERR_BAD_HEADER;
}

// The probe bits; `complete` false when a read fell short (the bits found
// until then are returned).
int32_t layoutBits(ByteSource& source, bool& complete) {
  complete = false;
  uint8_t head[12];
  if (!source.readAt(0, head, 4)) return 0;
  int32_t bits = 0;
  if (std::memcmp(head, "RIFF", 4) == 0) {
    if (!source.readAt(0, head, 12)) return bits;
    if (std::memcmp(head + 8, "WAVE", 4) == 0) bits |= kLayoutWave;
    if (std::memcmp(head + 8, "RMP3", 4) == 0) bits |= kLayoutRmp3;
    int64_t payload = 0;
    int64_t size = 0;
    if (findDataChunk(source, payload, size) != ENGINE_OK) return bits;
    uint8_t id[3];
    if (size >= 3 && source.readAt(payload, id, 3) && std::memcmp(id, "ID3", 3) == 0) bits |= kLayoutId3v2;
  } else if (std::memcmp(head, "ID3", 3) == 0) {
    bits |= kLayoutId3v2;
  } else if (head[0] == 0) {
    bits |= kLayoutLeadingHeader;
  }
  int64_t size = source.size();
  uint8_t tag[3];
  if (size < kId3v1Size || !source.readAt(size - kId3v1Size, tag, 3)) return bits;
  if (std::memcmp(tag, "TAG", 3) == 0) bits |= kLayoutId3v1;
  int64_t lyrics = 0;
  if (findLyrics3(source, lyrics)) bits |= kLayoutLyrics3;
  complete = true;
  return bits;
}

}  // namespace

void fillFileInfo(const MpegFrameHeader& h, int64_t fileSize, int64_t audioSize, FileInfo& info) {
  info = FileInfo{};
  info.version = h.version;
  info.layer = h.layer;
  info.noCrc = h.hasCrc ? 0 : 1;
  info.privateBit = h.privateBit;
  info.mode = h.mode;
  info.copyright = h.copyright;
  info.original = h.original;
  info.emphasis = h.emphasis;
  info.channels = h.outputChannels;
  info.bitrate = h.bitrate / 1000;
  info.sampleRate = h.outputSampleRate;
  info.fileSize = units::clampToInt32(fileSize);
  int64_t frames = static_cast<uint32_t>(h.frameCount);
  if (frames == 0 && h.minFrameSize > 0) frames = audioSize / h.minFrameSize;
  info.frames = units::clampToInt32(frames);
  const int64_t samples = units::bytesToSamples(frames * h.outputBytesPerFrame, h.outputBits, h.outputChannels);
  info.seconds = units::clampToInt32(units::samplesToSeconds(samples, h.outputSampleRate));
}

int32_t probeTagLayout(ByteSource& source) {
  bool complete = false;
  int32_t bits = layoutBits(source, complete);
  return complete ? bits : -1;
}

int32_t probeTagLayout(const char* path) {
  platform::File file;
  if (path == nullptr || path[0] == '\0' || !file.open(path, platform::FileMode::Read)) return -1;
  FileSource source(file);
  return probeTagLayout(source);
}

int32_t readFileInfo(ByteSource& source, Id3v1Record* tag, FileInfo* info, InfoText* text, int32_t* flags) {
  if (tag != nullptr) std::memset(tag, 0, sizeof *tag);
  if (info != nullptr) std::memset(info, 0, sizeof *info);
  if (text != nullptr) std::memset(text, 0, sizeof *text);
  if (flags != nullptr) *flags = 0;
  const int64_t fileSize = source.size();
  int64_t audioSize = fileSize;
  int64_t start = 0;
  uint8_t head[4];
  if (!source.readAt(0, head, 4)) return ENGINE_ERR_READ;

  if (std::memcmp(head, "RIFF", 4) == 0) {
    InfoText walked{};
    RiffWalk walk;
    if (!walkRiffChunks(source, walked, start, audioSize, walk) || walk.result.formatClass != 0)
      return ENGINE_ERR_RIFF_WALK;
    if (text != nullptr) *text = walked;
    int64_t at = start;
    if (skipId3v2Header(source, at)) {
      audioSize -= at - start;  // the tag's length, not the offset in the file
      start = at;
    }
  } else if (std::memcmp(head, "ID3", 3) == 0) {
    if (skipId3v2Header(source, start)) audioSize -= start;
  } else if (head[0] == 0) {
    start = kLeadingHeader;
  }

  MpegFrameHeader header{};
  const int32_t found = firstFrameStatus(source, start, start + audioSize, header);
  if (found != ENGINE_OK) return found;

  Id3v1Record record{};
  bool tagged = readId3v1(source, record) == 1;
  if (tag != nullptr && tagged) *tag = record;
  if (tagged && audioSize == fileSize) audioSize -= kId3v1Size;
  int64_t lyrics = 0;
  if (findLyrics3(source, lyrics)) audioSize -= lyrics;
  if (audioSize < 0) audioSize = 0;
  if (info != nullptr) fillFileInfo(header, fileSize, audioSize, *info);
  // A file too short for a tag still gets the bits of what it has.
  bool complete = false;
  if (flags != nullptr) *flags = layoutBits(source, complete);
  return ENGINE_OK;
}

int32_t readFileInfo(const char* path, Id3v1Record* tag, FileInfo* info, InfoText* text, int32_t* flags) {
  if (tag != nullptr) std::memset(tag, 0, sizeof *tag);
  if (info != nullptr) std::memset(info, 0, sizeof *info);
  if (text != nullptr) std::memset(text, 0, sizeof *text);
  platform::File file;
  if (path == nullptr || path[0] == '\0' || !file.open(path, platform::FileMode::Read)) {
    setStatus(ENGINE_ERR_OPEN);
    return 0;
  }
  FileSource source(file);
  int32_t code = readFileInfo(source, tag, info, text, flags);
  if (code != ENGINE_OK) setStatus(code);
  return code == ENGINE_OK ? 1 : 0;
}

}  // namespace orva

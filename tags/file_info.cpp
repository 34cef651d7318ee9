// The tag layout probe and the file information read. Both look only at the
// container, the tags and the first frame's header; the audio is not read.
#include "tags/file_info.h"

#include <cstring>

#include "decoder/frame_header.h"
#include "decoder/units.h"
#include "tags/audio_start.h"
#include "tags/first_frame.h"
#include "tags/id3v1.h"
#include "tags/lyrics3.h"
#include "tags/riff_walk.h"

namespace orva {
namespace {

// The engine's first-frame search with the decoder's current options.
int32_t firstFrameStatus(ByteSource& source, int64_t start, int64_t end, MpegFrameHeader& header) {
  DecoderOptions options{};
  getDecoderOptions(options);
  int64_t offset = 0;
  return findFirstFrame(source, start, end, options, offset, header);
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
    if (std::memcmp(head + 8, "WAVE", 4) == 0) bits |= TAG_LAYOUT_WAVE;
    if (std::memcmp(head + 8, "RMP3", 4) == 0) bits |= TAG_LAYOUT_RMP3;
    int64_t payload = 0;
    int64_t size = 0;
    if (findDataChunk(source, payload, size) != ENGINE_OK) return bits;
    uint8_t id[3];
    if (size >= 3 && source.readAt(payload, id, 3) && std::memcmp(id, "ID3", 3) == 0) bits |= TAG_LAYOUT_ID3V2;
  } else if (std::memcmp(head, "ID3", 3) == 0) {
    bits |= TAG_LAYOUT_ID3V2;
  } else if (head[0] == 0) {
    bits |= TAG_LAYOUT_LEADING_HEADER;
  }
  int64_t size = source.size();
  uint8_t tag[3];
  if (size < kId3v1Size || !source.readAt(size - kId3v1Size, tag, 3)) return bits;
  if (std::memcmp(tag, "TAG", 3) == 0) bits |= TAG_LAYOUT_ID3V1;
  int64_t lyrics = 0;
  if (findLyrics3(source, lyrics)) bits |= TAG_LAYOUT_LYRICS3;
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

int32_t probeTagLayoutFrom(ByteSource& source) {
  bool complete = false;
  int32_t bits = layoutBits(source, complete);
  return complete ? bits : -1;
}

int32_t probeTagLayoutAt(const char* path) {
  platform::File file;
  if (path == nullptr || path[0] == '\0' || !file.open(path, platform::FileMode::Read)) return -1;
  FileSource source(file);
  return probeTagLayoutFrom(source);
}

int32_t readFileInfoFrom(ByteSource& source, Id3v1Record* tag, FileInfo* info, InfoText* text, int32_t* flags,
                         Id3v2Texts* id3v2) {
  if (id3v2 != nullptr) *id3v2 = Id3v2Texts{};
  if (tag != nullptr) std::memset(tag, 0, sizeof *tag);
  if (info != nullptr) std::memset(info, 0, sizeof *info);
  if (text != nullptr) std::memset(text, 0, sizeof *text);
  if (flags != nullptr) *flags = 0;
  InfoText walked{};
  AudioLocation where{};
  const int32_t located = locateAudio(source, walked, where);
  if (located != ENGINE_OK) return located;
  // The summary describes MPEG audio; a PCM WAVE file has none.
  if (where.pcm) return ENGINE_ERR_RIFF_WALK;
  if (text != nullptr) *text = walked;

  MpegFrameHeader header{};
  const int32_t found = firstFrameStatus(source, where.start, where.start + where.size, header);
  if (found != ENGINE_OK) return found;

  Id3v1Record record{};
  if (tag != nullptr && where.hasId3v1 && readId3v1(source, record) == 1) *tag = record;
  if (id3v2 != nullptr && where.id3v2) readId3v2(source, where.id3v2Start, *id3v2);
  if (info != nullptr) fillFileInfo(header, where.fileSize, where.size, *info);
  // A file too short for a tag still gets the bits of what it has.
  bool complete = false;
  if (flags != nullptr) *flags = layoutBits(source, complete);
  return ENGINE_OK;
}

int32_t readFileInfoAt(const char* path, Id3v1Record* tag, FileInfo* info, InfoText* text, int32_t* flags,
                       Id3v2Texts* id3v2) {
  if (id3v2 != nullptr) *id3v2 = Id3v2Texts{};
  if (tag != nullptr) std::memset(tag, 0, sizeof *tag);
  if (info != nullptr) std::memset(info, 0, sizeof *info);
  if (text != nullptr) std::memset(text, 0, sizeof *text);
  platform::File file;
  if (path == nullptr || path[0] == '\0' || !file.open(path, platform::FileMode::Read)) return ENGINE_ERR_OPEN;
  FileSource source(file);
  return readFileInfoFrom(source, tag, info, text, flags, id3v2);
}

}  // namespace orva

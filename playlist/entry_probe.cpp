// File information for play list entries over the tag and frame-header code.
// Works on its own copies of everything: the engine's open stream and the
// process-wide RIFF walk state are left alone.
#include "playlist/entry_probe.h"

#include <cstring>

#include "decoder/frame_header.h"
#include "platform/file.h"
#include "tags/byte_io.h"
#include "tags/id3v1.h"
#include "tags/lyrics3.h"

namespace orva {

namespace {

constexpr int64_t kProbeBytes = 1024;

struct AudioSpan {
  int64_t fileSize;
  int64_t start;
  int64_t size;
};

// Where the audio begins, past a RIFF header, an ID3v2 tag or a zero byte.
bool findAudioStart(ByteSource& source, InfoText& infoText, AudioSpan& span) {
  uint8_t magic[4];
  if (!source.readAt(0, magic, 4)) return false;
  int64_t skipped = 0;
  if (std::memcmp(magic, "RIFF", 4) == 0) {
    RiffWalk walk{};
    walkRiffChunks(source, infoText, span.start, span.size, walk);
    if (walk.result.formatClass != 0) return false;
    int64_t before = span.start;
    if (skipId3v2Header(source, span.start) == 1) skipped = span.start - before;
  } else if (std::memcmp(magic, "ID3", 3) == 0) {
    if (skipId3v2Header(source, span.start) == 1) skipped = span.start;
  } else if (magic[0] == 0) {
    span.start = 128;
  }
  span.size -= skipped;
  return true;
}

bool readFirstFrame(ByteSource& source, AudioSpan& span, MpegFrameHeader& header) {
  uint8_t bytes[kProbeBytes];
  if (span.start >= span.fileSize) return false;
  int64_t count = span.fileSize - span.start < kProbeBytes ? span.fileSize - span.start : kProbeBytes;
  if (!source.readAt(span.start, bytes, count)) return false;
  int32_t sync = 0;
  if (!findFrameSync(bytes, static_cast<int32_t>(count), sync)) return false;
  span.start += sync;
  count = span.fileSize - span.start < kProbeBytes ? span.fileSize - span.start : kProbeBytes;
  if (!source.readAt(span.start, bytes, count)) return false;
  return readStreamHeader(bytes, static_cast<int32_t>(count), header, false);
}

// Bytes to samples with the rule that divides first for large counts.
int64_t samplesOf(int64_t bytes, int32_t bits, int32_t channels) {
  if (bits <= 0 || channels <= 0) return 0;
  if (bytes >= (int64_t{1} << 28)) return bytes / bits / channels * 8;
  return bytes * 8 / bits / channels;
}

int32_t clamp32(int64_t v) { return v > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int32_t>(v); }

void fillFileInfo(const MpegFrameHeader& h, const AudioSpan& span, FileInfo& info) {
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
  info.fileSize = clamp32(span.fileSize);
  int64_t frames = h.frameCount;
  if (frames == 0 && h.minFrameSize > 0 && span.size > 0) frames = span.size / h.minFrameSize;
  info.frames = clamp32(frames);
  int64_t samples = samplesOf(frames * h.outputBytesPerFrame, h.outputBits, h.outputChannels);
  info.seconds = h.outputSampleRate > 0 ? clamp32(samples / h.outputSampleRate) : 0;
}

}  // namespace

int32_t probeFileInfo(const char* path, Id3v1Record* tag, FileInfo* info, InfoText* infoText) {
  if (tag == nullptr || info == nullptr || infoText == nullptr) return 0;
  *tag = Id3v1Record{};
  *info = FileInfo{};
  *infoText = InfoText{};
  platform::File file;
  if (path == nullptr || !file.open(path, platform::FileMode::Read)) return 0;
  FileSource source(file);
  AudioSpan span{source.size(), 0, source.size()};
  if (span.fileSize <= 0) return 0;
  MpegFrameHeader header{};
  if (!findAudioStart(source, *infoText, span) || !readFirstFrame(source, span, header)) return 0;
  if (readId3v1(source, *tag) == 1 && span.size == span.fileSize) span.size -= kId3v1Size;
  int64_t lyrics = 0;
  if (findLyrics3(source, lyrics) == 1) span.size -= lyrics;
  fillFileInfo(header, span, *info);
  return 1;
}

}  // namespace orva

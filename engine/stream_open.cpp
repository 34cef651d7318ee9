// engineOpen and engineClose: probing a file for its audio.
//
// Order of the probe: ID3v1 at the end, a Lyrics3 v2 block in front of it,
// the RIFF chunk walk ("fmt " and "data"), then for MPEG audio an ID3v2 tag,
// the 128-byte block of a file whose first byte is 0, and the first frame
// sync in the next 10240 bytes. Sizes read from the file only ever shrink the
// audio data; it never reaches past the end of the file.
#include "engine/stream_open.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "engine/engine_state.h"
#include "engine/stream_probe.h"
#include "engine/transport.h"
#include "engine/units.h"
#include "tags/id3v1.h"
#include "tags/byte_io.h"
#include "tags/lyric_lines.h"
#include "tags/lyrics3.h"
#include "tags/open_file_tags.h"
#include "tags/riff_walk.h"
#include "tags/status.h"

namespace orva {
namespace {

constexpr char kPcmTitle[] = "WAVE_FORMAT_PCM";

void copyText(char (&destination)[128], const char* source) {
  size_t n = 0;
  while (n < sizeof destination - 1 && source[n] != '\0') ++n;
  std::memcpy(destination, source, n);
  destination[n] = '\0';
}

int32_t failOpen(int32_t status) {
  gEngine.file.close();
  return status;
}

bool beginsRiff(platform::File& file) {
  char id[4];
  return file.readAt(0, id, 4) && std::memcmp(id, "RIFF", 4) == 0;
}

// Takes the ID3v1 tag and a Lyrics3 block in front of it off the data size.
void takeOffTrailingTags(StreamInfo& info) {
  OpenFileTags& tags = openFileTags();
  if (readId3v1(gEngine.file, tags.id3v1) == 1) {
    tags.hasId3v1 = true;
    gEngine.audioSize -= std::min<int64_t>(kId3v1Size, gEngine.audioSize);
    copyText(info.title, tags.id3v1.title);
    copyText(info.artist, tags.id3v1.artist);
  }
  int64_t lyricsLength = 0;
  // A block claiming more than the bytes in front of it cannot be one.
  if (findLyrics3(gEngine.file, lyricsLength) == 1 && lyricsLength > 0 &&
      lyricsLength <= gEngine.audioSize) {
    gEngine.audioSize -= lyricsLength;
    if (readLyrics3OnOpen()) {
      FileSource source(gEngine.file);
      loadLyricsFromLyrics3(source);
    }
  }
}

void openPcm(StreamInfo& info) {
  const WaveFormatRecord& format = lastWaveFormat();
  MpegFrameHeader& h = gEngine.header;
  h = MpegFrameHeader{};
  h.outputChannels = format.channels;
  h.outputBits = format.bitsPerSample;
  h.outputSampleRate = static_cast<int32_t>(std::min<uint32_t>(format.samplesPerSecond, INT32_MAX));
  h.bitrate = format.bitsPerSample;
  h.streamBytes = units::clampToInt32(gEngine.audioSize);
  h.outputBytesPerFrame = format.bitsPerSample == 8 ? kPcmBlock8Bit : kPcmBlock;
  h.frameCount = units::clampToInt32(gEngine.audioSize / h.outputBytesPerFrame);
  gEngine.pcmInput = 1;
  gEngine.currentBitRate = format.bitsPerSample;
  const int64_t samples = units::bytesToSamples(gEngine.audioSize, h.outputBits, h.outputChannels);
  gEngine.durationSeconds = units::clampToInt32(units::samplesToSeconds(samples, h.outputSampleRate));
  gEngine.nominalDurationSeconds = gEngine.durationSeconds;

  copyText(info.title, kPcmTitle);
  copyText(info.artist, kPcmTitle);
  info.channels = h.outputChannels;
  info.bitRate = h.bitrate;
  info.sampleRate = h.outputSampleRate;
  info.durationSeconds = gEngine.durationSeconds;
}

// RIFF files: the data chunk gives the audio; a PCM format ends the probe.
int32_t walkRiff(bool& isPcm) {
  int64_t start = 0;
  int64_t size = gEngine.audioSize;
  const int32_t found = walkRiffChunks(gEngine.file, openFileTags().info, start, size);
  const int32_t formatClass = lastChunkWalk().formatClass;
  // Without a data chunk there is nothing to play, whatever the format.
  if (formatClass < 0 || found != 1) return ENGINE_ERR_RIFF_WALK;
  if (start < 0 || start > gEngine.fileSize) return ENGINE_ERR_RIFF_WALK;
  gEngine.audioStart = start;
  gEngine.audioSize = std::clamp<int64_t>(size, 0, gEngine.fileSize - start);
  isPcm = formatClass == 1;
  return ENGINE_OK;
}

int32_t openMpeg(StreamInfo& info) {
  const int64_t audioEnd = gEngine.audioStart + gEngine.audioSize;
  int64_t offset = gEngine.audioStart;
  if (skipId3v2Header(gEngine.file, offset) == 1) {
    const int64_t tagLength = offset - gEngine.audioStart;
    gEngine.audioSize -= std::clamp<int64_t>(tagLength, 0, gEngine.audioSize);
  }
  if (offset == 0) {
    uint8_t first[4];
    if (!gEngine.file.readAt(0, first, 4)) return ENGINE_ERR_READ;
    if (first[0] == 0) offset = 128;
  }
  const int32_t probed = probeFirstFrame(gEngine.file, offset, audioEnd, gEngine.header);
  if (probed != ENGINE_OK) return probed;
  gEngine.audioStart = offset;
  gEngine.audioSize = std::clamp<int64_t>(gEngine.audioSize, 0, gEngine.fileSize - offset);

  MpegFrameHeader& h = gEngine.header;
  if (h.frameCount == 0 && h.minFrameSize > 0) {
    h.frameCount = units::clampToInt32(gEngine.audioSize / h.minFrameSize);
  }
  gEngine.durationSeconds = mpegDurationSeconds(h);
  gEngine.nominalDurationSeconds = units::clampToInt32(
      units::nominalSeconds(h.version, h.layer, h.sampleRateIndex, frameCountOf(h)));
  gEngine.currentBitRate = h.bitrate;

  DecoderOptions options{};
  getDecoderOptions(options);
  gEngine.openDownsampleShift = options.downsampleShift;

  info.channels = h.outputChannels;
  info.bitRate = h.bitrate / 1000;
  info.sampleRate = h.outputSampleRate;
  info.durationSeconds = gEngine.durationSeconds;
  return ENGINE_OK;
}

}  // namespace

int32_t openStream(const char* path, StreamInfo& info) {
  engineSleep(100);
  if (path == nullptr || path[0] == '\0') return ENGINE_ERR_OPEN;
  // Closing what was open reports "not open" when nothing was; a later
  // failure of this open overwrites that.
  if (closeStream() != ENGINE_OK) setStatus(ENGINE_ERR_NOT_OPEN);
  gEngine.pcmInput = 0;
  if (!gEngine.file.open(path, platform::FileMode::Read)) return ENGINE_ERR_OPEN;

  gEngine.fileSize = gEngine.file.size();
  if (gEngine.fileSize < 0) return failOpen(ENGINE_ERR_READ);
  gEngine.audioStart = 0;
  gEngine.audioSize = gEngine.fileSize;
  gEngine.positionBase = 0;
  info = StreamInfo{};
  clearOpenFileTags();

  takeOffTrailingTags(info);
  bool isPcm = false;
  if (beginsRiff(gEngine.file)) {
    const int32_t walked = walkRiff(isPcm);
    if (walked != ENGINE_OK) return failOpen(walked);
  }
  gEngine.timeScale = 1.0;
  if (isPcm) {
    openPcm(info);
    return ENGINE_OK;
  }
  const int32_t opened = openMpeg(info);
  return opened == ENGINE_OK ? ENGINE_OK : failOpen(opened);
}

int32_t closeStream() {
  engineSleep(100);
  if (!gEngine.file.isOpen()) return ENGINE_ERR_NOT_OPEN;
  if (gEngine.state.load() != ENGINE_STOPPED) transportStop();
  gEngine.file.close();
  return ENGINE_OK;
}

}  // namespace orva

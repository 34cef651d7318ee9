// engineOpen and engineClose: probing a file for its audio.
//
// The file's audio is located as every reader of the tree locates it (the
// trailing tags, the RIFF chunks, an ID3v2 tag or a leading header); for
// MPEG audio the first frame is then searched for in the next 10240 bytes.
#include "engine/stream_open.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "decoder/units.h"
#include "engine/engine_state.h"
#include "engine/gapless.h"
#include "engine/status_register.h"
#include "engine/stream_probe.h"
#include "engine/transport.h"
#include "tags/audio_start.h"
#include "tags/byte_io.h"
#include "tags/id3v1.h"
#include "tags/lyric_lines.h"

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

// The tags of the file as open reads them; the lyrics too when asked to.
void readTrailingTags(FileSource& source, const AudioLocation& where, StreamInfo& info) {
  if (where.hasId3v1 && readId3v1(source, gEngine.id3v1) == 1) {
    gEngine.hasId3v1 = true;
    copyText(info.title, gEngine.id3v1.title);
    copyText(info.artist, gEngine.id3v1.artist);
  }
  if (where.lyrics3Length > 0 && gEngine.readLyrics3OnOpen) {
    fillLyricsFromLyrics3(gEngine.lyrics, source, gEngine.multiStampLines);
  }
}

void openPcm(const WaveFormatRecord& format, StreamInfo& info) {
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

int32_t openMpeg(StreamInfo& info) {
  const int64_t audioEnd = gEngine.audioStart + gEngine.audioSize;
  int64_t offset = gEngine.audioStart;
  const int32_t probed = probeFirstFrame(gEngine.file, offset, audioEnd, gEngine.header);
  if (probed != ENGINE_OK) return probed;
  gEngine.audioStart = offset;
  gEngine.audioSize = std::clamp<int64_t>(gEngine.audioSize, 0, gEngine.fileSize - offset);

  MpegFrameHeader& h = gEngine.header;
  if (h.frameCount == 0 && h.minFrameSize > 0) {
    h.frameCount = units::clampToInt32(gEngine.audioSize / h.minFrameSize);
  }
  gEngine.durationSeconds = mpegDurationSeconds(h);
  gEngine.nominalDurationSeconds =
      units::clampToInt32(units::nominalSeconds(h.version, h.layer, h.sampleRateIndex, frameCountOf(h)));
  gEngine.currentBitRate = h.bitrate;

  DecoderOptions options{};
  getDecoderOptions(options);
  gEngine.openDownsampleShift = options.downsampleShift;
  readOpenStreamGap();
  refreshGaplessDuration();

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
  gEngine.hasGap = false;
  if (!gEngine.file.open(path, platform::FileMode::Read)) return ENGINE_ERR_OPEN;

  gEngine.fileSize = gEngine.file.size();
  if (gEngine.fileSize < 0) return failOpen(ENGINE_ERR_READ);
  gEngine.positionBase = 0;
  info = StreamInfo{};
  gEngine.id3v1 = Id3v1Record{};
  gEngine.hasId3v1 = false;

  FileSource source(gEngine.file);
  AudioLocation where{};
  const int32_t located = locateAudio(source, gEngine.infoText, where);
  if (located != ENGINE_OK) return failOpen(located);
  gEngine.audioStart = where.start;
  gEngine.audioSize = where.size;
  readTrailingTags(source, where, info);
  gEngine.timeScale = 1.0;
  if (where.pcm) {
    openPcm(where.walk.format, info);
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

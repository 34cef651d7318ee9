// The playback thread (see playback_thread.h). Everything here runs on that
// thread except the pause and resume handlers, which the host's thread also
// runs while the stream plays out (the state changes are compare-exchanges
// so that a stop finishing at the same moment is never undone).
#include "engine/playback_thread.h"

#include <algorithm>
#include <cstring>

#include "decoder/decoder.h"
#include "decoder/units.h"
#include "engine/engine_state.h"
#include "engine/gapless.h"
#include "engine/playback_state.h"
#include "engine/position.h"
#include "engine/status_register.h"
#include "engine/wave_file.h"
#include "output/output_queue.h"
#include "platform/sleep.h"
#include "tags/first_frame.h"

namespace orva {
namespace {

// What one step of the loop produced.
enum class Step { Pcm, Retry, End };

struct ThreadLocals {
  FrameDecodeJob job{};
  int32_t offset = 0;  // of the PCM to deliver in the output buffer
  int32_t length = 0;
  int32_t lastReported = -1;
  int32_t fadeCounter[2] = {0, 0};
};

int64_t totalStreamSamples() {
  const MpegFrameHeader& h = gEngine.header;
  if (!gEngine.pcmInput) return streamTotalSamples();
  return units::bytesToSamples(gEngine.audioSize, h.outputBits, h.outputChannels);
}

int32_t sampleBytes() {
  const MpegFrameHeader& h = gEngine.header;
  return h.outputChannels * (h.outputBits / 8);
}

// Keeps the part of the decoded frame that belongs to the source when
// trimming: the frames before it are skipped, and the first frame wholly
// after it ends the stream (the rest is the encoder's padding).
Step keepSource(ThreadLocals& t) {
  PlaybackRecord& p = gPlayback;
  t.offset = 0;
  if (!p.trimming || sampleBytes() <= 0) return Step::Pcm;
  const int32_t frameSamples = t.length / sampleBytes();
  const int64_t frameStart = p.decodedSamples;
  p.decodedSamples += frameSamples;
  const FrameCut cut = cutFrame(p.span, frameStart, frameSamples);
  if (cut.count == 0) return frameStart < p.span.skip ? Step::Retry : Step::End;
  t.offset = cut.first * sampleBytes();
  t.length = cut.count * sampleBytes();
  return Step::Pcm;
}

// Moves the unread bytes to the front and fills the rest from the file.
// False when nothing more could be read.
bool refillInput() {
  PlaybackRecord& p = gPlayback;
  if (p.unread > 0 && p.readPos > 0)
    std::memmove(p.input.data(), p.input.data() + p.readPos, static_cast<size_t>(p.unread));
  p.readPos = 0;
  const int32_t room = p.inputSize - p.unread;
  if (room <= 0) return false;
  const int64_t n = gEngine.file.read(p.input.data() + p.unread, room);
  if (n <= 0) return false;
  p.unread += static_cast<int32_t>(n);
  return true;
}

bool sameStream(const MpegFrameHeader& h) {
  const MpegFrameHeader& stream = gEngine.header;
  return h.version == stream.version && h.layer == stream.layer && h.sampleRateIndex == stream.sampleRateIndex;
}

// Steps over one byte and on to the next frame sync candidate, reading more
// input as needed. False when the file ends first.
bool nextSyncCandidate() {
  PlaybackRecord& p = gPlayback;
  if (p.unread > 0) {
    ++p.readPos;
    --p.unread;
  }
  for (;;) {
    int32_t offset = 0;
    if (findFrameSync(p.input.data() + p.readPos, p.unread, offset)) {
      p.readPos += offset;
      p.unread -= offset;
      return true;
    }
    // No sync in what is here: only the last three bytes can begin one.
    if (p.unread > 3) {
      p.readPos += p.unread - 3;
      p.unread = 3;
    }
    if (!refillInput()) return false;
  }
}

// Whether the candidate at the read position is a frame of this stream:
// its header agrees with the stream's (version, layer, sampling rate) and so
// does the header at its end, or a trailing tag follows it, or the file ends
// exactly there. Junk in a damaged file is full of sync-like pairs; locking
// onto one would play its bytes as full-scale noise. A successor that
// cannot fit in the input buffer (a buffer of one frame) is not waited for.
bool isStreamFrame() {
  PlaybackRecord& p = gPlayback;
  MpegFrameHeader h{};
  if (!parseFrameHeader(p.input.data() + p.readPos, h) || !sameStream(h)) return false;
  const int32_t bitrate = bitrateKbps(h.version, h.layer, h.bitrateIndex) * 1000;
  const int32_t length = frameLength(h, bitrate, sampleRateHz(h.version, h.sampleRateIndex));
  if (length <= 4 || length > p.inputSize) return false;
  while (p.unread < length + 4) {
    if (!refillInput()) return length + 4 > p.inputSize || p.unread == length;
  }
  const uint8_t* next = p.input.data() + p.readPos + length;
  MpegFrameHeader following{};
  if (parseFrameHeader(next, following) && sameStream(following)) return true;
  return beginsTrailingTag(next, p.unread - length);
}

// Steps over one byte and on to the next frame of this stream. False when
// the file ends first.
bool resynchronise() {
  for (;;) {
    if (!nextSyncCandidate()) return false;
    if (isStreamFrame()) return true;
  }
}

// A header of another version, layer or sampling rate met in the frame
// sequence is damage: the stream's layer handler would play its bytes.
bool headerDisagrees() {
  const PlaybackRecord& p = gPlayback;
  MpegFrameHeader h{};
  return p.unread >= 4 && parseFrameHeader(p.input.data() + p.readPos, h) && !sameStream(h);
}

Step decodeStep(ThreadLocals& t) {
  PlaybackRecord& p = gPlayback;
  t.job = FrameDecodeJob{};
  t.job.input = p.input.data() + p.readPos;
  t.job.inputLength = p.unread;
  t.job.output = p.output.data();
  const bool damaged = headerDisagrees();
  if (!damaged && decodeFrame(t.job)) {
    gEngine.currentBitRate.store(t.job.bitrate);
    p.readPos += t.job.inputLength;
    p.unread -= t.job.inputLength;
    t.length = t.job.outputLength;
    return keepSource(t);
  }
  // A frame longer than the whole input buffer cannot be real: skip it.
  if (!damaged && getDecoderError() == DECODER_ERR_NEED_DATA && p.unread < p.inputSize) {
    if (!refillInput()) return Step::End;
    engineSleep(gEngine.settings.inputSleep);
    return Step::Retry;
  }
  notifyEngineEvent(ENGINE_EVENT_RESYNC, 0);
  if (!resynchronise()) {
    setStatus(ENGINE_ERR_READ);
    return Step::End;
  }
  return Step::Retry;
}

Step pcmStep(ThreadLocals& t) {
  PlaybackRecord& p = gPlayback;
  if (gEngine.audioSize < p.pcmBytesRead) return Step::End;
  int64_t length = gEngine.header.outputBits == 8 ? kPcmBlock8Bit : kPcmBlock;
  p.pcmBytesRead += length;
  if (p.pcmBytesRead > gEngine.audioSize) length -= p.pcmBytesRead - gEngine.audioSize;
  if (length <= 0) return Step::End;
  std::memset(p.output.data(), gEngine.header.outputBits == 8 ? 0x80 : 0, static_cast<size_t>(length));
  if (gEngine.file.read(p.output.data(), length) <= 0) return Step::End;
  t.offset = 0;
  t.length = static_cast<int32_t>(length);  // a short read plays the rest as silence
  return Step::Pcm;
}

void reportIfChanged(ThreadLocals& t) {
  const int32_t seconds = reportedSeconds();
  if (seconds != t.lastReported) {
    t.lastReported = seconds;
    notifyEngineEvent(ENGINE_EVENT_POSITION, seconds);
  }
}

// False when the WAV file could not take the PCM.
bool deliver(ThreadLocals& t) {
  PlaybackRecord& p = gPlayback;
  const int32_t mode = p.outputMode.load();
  const uint8_t* pcm = p.output.data() + t.offset;
  if (mode != OUTPUT_FILE && outputAppend(pcm, t.length) != 0) reportIfChanged(t);
  if (mode != OUTPUT_PLAY) {
    if (p.wave.write(pcm, t.length) != t.length) {
      setStatus(ENGINE_ERR_WRITE);
      return false;
    }
    p.waveBytes.fetch_add(t.length);
    reportIfChanged(t);
  }
  return true;
}

// Puts the device volume back after a fade-out, so the next track is heard.
void endFadeOut() {
  PlaybackRecord& p = gPlayback;
  p.fadeLeft.store(p.savedLeft.load());
  p.fadeRight.store(p.savedRight.load());
  p.fadeOut.store(0);
  outputReset();
  outputSetVolume(p.savedLeft.load(), p.savedRight.load());
}

// One frame's step of the fade-out; true when it has ended.
bool fadeStep(ThreadLocals& t) {
  PlaybackRecord& p = gPlayback;
  if (p.fadeOut.load() == 0) return false;
  std::atomic<int32_t>* levels[2] = {&p.fadeLeft, &p.fadeRight};
  for (int32_t c = 0; c < 2; ++c) {
    const int32_t level = levels[c]->load();
    const int32_t n = ++t.fadeCounter[c];
    if ((level > 50 && n == 2) || (level > 10 && n == 3) || (level > 5 && n == 5) || (level > 0 && n == 10)) {
      levels[c]->store(level - 1);
      t.fadeCounter[c] = 0;
    }
  }
  outputSetVolume(p.fadeLeft.load(), p.fadeRight.load());
  if (p.fadeLeft.load() != 0 || p.fadeRight.load() != 0) return false;
  endFadeOut();
  return true;
}

void handleMessage(const EngineMessage& m) {
  switch (m.id) {
    case MSG_ENGINE_STOP: stopHandler(0); break;
    case MSG_ENGINE_PAUSE: pauseHandler(); break;
    case MSG_ENGINE_RESUME: resumeHandler(); break;
    case MSG_ENGINE_SEEK: seekHandler(m.value); break;
    case MSG_ENGINE_EQUALIZER: setEqualizerGains(m.hasBands ? m.bands : nullptr); break;
    default: break;
  }
  gPlayback.messages.markHandled(m);
}

// One message if any, then every message while paused. False once stopped.
bool takeMessages() {
  EngineMessage m;
  if (gPlayback.messages.take(m)) handleMessage(m);
  while (gEngine.state.load() == ENGINE_PAUSED) {
    gPlayback.messages.waitTake(m);
    handleMessage(m);
  }
  return gEngine.state.load() != ENGINE_STOPPED;
}

void runLoop(ThreadLocals& t) {
  for (;;) {
    const Step step = gEngine.pcmInput ? pcmStep(t) : decodeStep(t);
    if (step == Step::End) return;
    if (step == Step::Retry) continue;
    if (!deliver(t)) return;
    if (fadeStep(t)) return;
    if (!takeMessages()) return;
  }
}

// The play position after `decoded` output samples: when trimming, the
// source samples among them.
int64_t positionAfter(int64_t decoded) {
  const PlaybackRecord& p = gPlayback;
  if (!p.trimming) return decoded;
  return std::clamp<int64_t>(decoded - p.span.skip, 0, p.span.length);
}

// Seeks an MPEG stream by measuring frames without decoding them. When
// trimming, the header frame is no audio and the target is a source sample.
void seekMpeg(int64_t target) {
  PlaybackRecord& p = gPlayback;
  p.decodedSamples = 0;
  if (p.trimming) {
    gEngine.file.seek(gEngine.audioStart + gEngine.header.vbrHeaderFrameSize);
    target += p.span.skip;
  }
  muteLayerHandler();
  int64_t total = 0;
  bool measured = false;
  FrameDecodeJob job{};
  bool searching = refillInput();
  while (searching) {
    job = FrameDecodeJob{};
    job.input = p.input.data() + p.readPos;
    job.inputLength = p.unread;
    job.output = p.output.data();
    if (decodeFrame(job)) {
      measured = true;
      p.readPos += job.inputLength;
      p.unread -= job.inputLength;
      total += job.outputLength;
      p.decodedSamples = units::bytesToSamples(total, gEngine.header.outputBits, gEngine.header.outputChannels);
      gEngine.positionBase.store(positionAfter(p.decodedSamples));
      if (p.decodedSamples >= target) break;
    } else if (getDecoderError() == DECODER_ERR_NEED_DATA && p.unread < p.inputSize) {
      searching = refillInput();
    } else {
      notifyEngineEvent(ENGINE_EVENT_RESYNC, 0);
      searching = resynchronise();
    }
  }
  if (measured) {
    restoreLayerHandler(job);
  } else {
    restoreLayerHandler(gEngine.header);
  }
}

}  // namespace

void notifyEngineEvent(int32_t event, int32_t value) {
  if (gPlayback.callbackEnabled.load() == 0) return;
  if (EngineCallback callback = gPlayback.callback.load()) callback(event, value);
}

void stopHandler(int32_t endFlag) {
  if (endFlag == 0) outputReset();
  outputClose();
  if (endFlag == 1) outputReset();
  // The WAV file is whole before anyone can see the engine stopped.
  if (gPlayback.outputMode.load() != OUTPUT_PLAY) finishWaveFile(gPlayback.wave);
  gEngine.state.store(ENGINE_STOPPED);
  if (endFlag == 0) notifyEngineEvent(ENGINE_EVENT_STOPPED, 0);
}

void pauseHandler() {
  int32_t expected = ENGINE_PLAYING;
  if (gEngine.state.compare_exchange_strong(expected, ENGINE_PAUSED)) {
    outputPause();
  } else if (expected != ENGINE_PAUSED) {
    return;
  }
  notifyEngineEvent(ENGINE_EVENT_PAUSED, 0);
}

void resumeHandler() {
  int32_t expected = ENGINE_PAUSED;
  if (!gEngine.state.compare_exchange_strong(expected, ENGINE_PLAYING)) return;
  outputRestart();
  notifyEngineEvent(ENGINE_EVENT_POSITION, gPlayback.positionCache.load());
}

void seekHandler(int64_t target) {
  PlaybackRecord& p = gPlayback;
  outputReset();
  gEngine.file.seek(gEngine.audioStart);
  p.readPos = p.unread = 0;
  p.pcmBytesRead = 0;
  if (target < 0) target = 0;
  if (gEngine.pcmInput) {
    const MpegFrameHeader& h = gEngine.header;
    const int64_t bytes = units::samplesToBytes(target, h.outputBits, h.outputChannels);
    gEngine.positionBase.store(target);
    gEngine.file.seek(gEngine.audioStart + bytes);
    p.pcmBytesRead = bytes;
  } else {
    seekMpeg(target);
  }
  outputSetStreamPosition(totalStreamSamples(), gEngine.positionBase.load());
}

void playOutWaitStep() {
  notifyEngineEvent(ENGINE_EVENT_POSITION, reportedSeconds());
  PlaybackRecord& p = gPlayback;
  if (p.fadeOut.load() == 0) return;
  if (p.fadeLeft.load() > 0) p.fadeLeft.fetch_sub(1);
  if (p.fadeRight.load() > 0) p.fadeRight.fetch_sub(1);
  outputSetVolume(p.fadeLeft.load(), p.fadeRight.load());
  if (p.fadeLeft.load() == 0 && p.fadeRight.load() == 0) endFadeOut();
}

void playbackThreadMain() {
  PlaybackRecord& p = gPlayback;
  gEngine.state.store(ENGINE_PLAYING);
  p.positionCache.store(0);
  gEngine.positionBase.store(0);
  p.decodedSamples = 0;
  p.waveBytes.store(0);
  outputSetStreamPosition(totalStreamSamples(), 0);
  notifyEngineEvent(ENGINE_EVENT_POSITION, 0);
  // A restart or a seek after the end of the data starts at its position.
  const int64_t start = p.startSeek.exchange(-1);
  if (start >= 0) seekHandler(start);

  ThreadLocals t;
  runLoop(t);

  // From here on the thread takes no messages: the play-out.
  p.messages.closeAndDiscard();
  if (gEngine.state.load() != ENGINE_STOPPED) {
    stopHandler(1);
    notifyEngineEvent(ENGINE_EVENT_ENDED, 0);
  }
  // A stream that ended, or was stopped, in the middle of a fade-out gets
  // its device volume back all the same.
  if (p.fadeOut.exchange(0) != 0) outputSetVolume(p.savedLeft.load(), p.savedRight.load());
  p.positionCache.store(0);
  gEngine.positionBase.store(0);
  if (p.outputMode.load() != OUTPUT_PLAY && p.wave.isOpen()) finishWaveFile(p.wave);
}

}  // namespace orva

#include "tests/acm_codec/lame_stream.h"

#include <lame/lame.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace orva::acmdriver {

namespace {

// lame's own bound for one call: 1.25 bytes per sample plus 7200.
constexpr size_t kChunkFrames = 1152;
constexpr size_t kLameSlack = 7200;
constexpr size_t kQueueCapacity = kChunkFrames * 5 / 4 + kLameSlack + 1024;

}  // namespace

class LameStream {
 public:
  lame_global_flags* lame = nullptr;
  unsigned channels = 0;
  unsigned bytesPerSample = 2;
  bool flushed = false;
  uint8_t queue[kQueueCapacity];
  size_t queueStart = 0;
  size_t queueEnd = 0;
  short samples[kChunkFrames * 2];

  bool queueEmpty() const { return queueStart == queueEnd; }

  // Moves queued bytes to the destination; the queue starts over once empty.
  void drain(uint8_t* destination, size_t destinationSize, size_t& destinationUsed) {
    const size_t count = std::min(queueEnd - queueStart, destinationSize - destinationUsed);
    std::memcpy(destination + destinationUsed, queue + queueStart, count);
    destinationUsed += count;
    queueStart += count;
    if (queueEmpty()) queueStart = queueEnd = 0;
  }

  int encode(const uint8_t* source, size_t frames) {
    if (bytesPerSample == 2) {
      std::memcpy(samples, source, frames * channels * sizeof(short));
    } else {
      // 8-bit samples are unsigned around 128.
      for (size_t i = 0; i < frames * channels; ++i) samples[i] = static_cast<short>((source[i] - 128) * 256);
    }
    const int count = static_cast<int>(frames);
    const int room = static_cast<int>(kQueueCapacity);
    if (channels == 2) return lame_encode_buffer_interleaved(lame, samples, count, queue, room);
    return lame_encode_buffer(lame, samples, samples, count, queue, room);
  }
};

LameStream* lameStreamOpen(const LameStreamSettings& settings) {
  auto* stream = new (std::nothrow) LameStream;
  if (!stream) return nullptr;
  stream->channels = settings.channels;
  stream->bytesPerSample = settings.bitsPerSample / 8;
  stream->lame = lame_init();
  bool ok = stream->lame != nullptr;
  if (ok) {
    lame_global_flags* lame = stream->lame;
    lame_set_num_channels(lame, static_cast<int>(settings.channels));
    lame_set_in_samplerate(lame, static_cast<int>(settings.samplesPerSecond));
    lame_set_out_samplerate(lame, static_cast<int>(settings.samplesPerSecond));
    lame_set_mode(lame, settings.channels == 2 ? JOINT_STEREO : MONO);
    lame_set_VBR(lame, vbr_off);
    lame_set_brate(lame, static_cast<int>(settings.kilobitsPerSecond));
    // The stream is handed out as it is made and never rewritten, so there
    // is no first frame to fill in afterwards.
    lame_set_bWriteVbrTag(lame, 0);
    ok = lame_init_params(lame) >= 0;
  }
  if (!ok) {
    lameStreamClose(stream);
    return nullptr;
  }
  return stream;
}

void lameStreamClose(LameStream* stream) {
  if (!stream) return;
  if (stream->lame) lame_close(stream->lame);
  delete stream;
}

LameStep lameStreamConvert(LameStream& stream, const uint8_t* source, size_t sourceSize, uint8_t* destination,
                           size_t destinationSize, bool atEnd) {
  LameStep step;
  const size_t frameBytes = stream.channels * stream.bytesPerSample;
  stream.drain(destination, destinationSize, step.destinationUsed);
  while (!stream.flushed && stream.queueEmpty() && step.destinationUsed < destinationSize) {
    const size_t frames = std::min((sourceSize - step.sourceUsed) / frameBytes, kChunkFrames);
    if (frames == 0) break;
    const int produced = stream.encode(source + step.sourceUsed, frames);
    if (produced < 0) return step;
    step.sourceUsed += frames * frameBytes;
    stream.queueEnd = static_cast<size_t>(produced);
    stream.drain(destination, destinationSize, step.destinationUsed);
  }
  const bool sourceDone = sourceSize - step.sourceUsed < frameBytes;
  if (atEnd && sourceDone && !stream.flushed && stream.queueEmpty()) {
    const int produced = lame_encode_flush(stream.lame, stream.queue, static_cast<int>(kQueueCapacity));
    if (produced < 0) return step;
    stream.flushed = true;
    stream.queueEnd = static_cast<size_t>(produced);
    stream.drain(destination, destinationSize, step.destinationUsed);
  }
  step.ok = true;
  return step;
}

size_t lameStreamWorstOutput(size_t sourceBytes, unsigned frameBytes) {
  const size_t frames = sourceBytes / frameBytes;
  return frames * 5 / 4 + kLameSlack;
}

}  // namespace orva::acmdriver

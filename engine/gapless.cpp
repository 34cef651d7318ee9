// Gapless playback (see gapless.h).
#include "engine/gapless.h"

#include <algorithm>

#include "decoder/units.h"
#include "engine/engine_state.h"
#include "engine/stream_probe.h"

namespace orva {
namespace {

// Enough of the first frame for the longest "Xing" header with its
// extension (tag at most 38 bytes in, 124 bytes of fields, 36 of extension).
constexpr int32_t kGapProbeBytes = 256;

int32_t layer3SamplesPerFrame(const MpegFrameHeader& header) { return header.version == 1 ? 1152 : 576; }

}  // namespace

void readOpenStreamGap() {
  gEngine.hasGap = false;
  gEngine.gap = EncoderGap{};
  const MpegFrameHeader& h = gEngine.header;
  if (gEngine.pcmInput || h.vbrHeaderFrameSize <= 0) return;
  uint8_t bytes[kGapProbeBytes];
  const int32_t wanted = std::min(h.vbrHeaderFrameSize, kGapProbeBytes);
  if (!gEngine.file.seek(gEngine.audioStart)) return;
  const int64_t got = gEngine.file.read(bytes, wanted);
  if (got <= 0) return;
  gEngine.hasGap = readEncoderGap(bytes, static_cast<int32_t>(got), h, gEngine.gap);
}

bool gaplessActive() { return gEngine.gapless != 0 && gEngine.hasGap && !gEngine.pcmInput; }

SourceSpan openSourceSpan(int32_t downsampleShift) {
  const MpegFrameHeader& h = gEngine.header;
  return sourceSpan(gEngine.gap, frameCountOf(h), layer3SamplesPerFrame(h), downsampleShift);
}

int64_t streamTotalSamples() {
  if (gaplessActive()) return openSourceSpan(gEngine.openDownsampleShift).length;
  const MpegFrameHeader& h = gEngine.header;
  const int64_t bytes = int64_t{frameCountOf(h)} * h.outputBytesPerFrame;
  return units::bytesToSamples(bytes, h.outputBits, h.outputChannels);
}

void refreshGaplessDuration() {
  if (!gEngine.file.isOpen() || gEngine.pcmInput) return;
  if (!gaplessActive()) {
    gEngine.durationSeconds = mpegDurationSeconds(gEngine.header);
    return;
  }
  const int64_t samples = streamTotalSamples();
  gEngine.durationSeconds = units::clampToInt32(units::samplesToSeconds(samples, gEngine.header.outputSampleRate));
}

FrameCut cutFrame(const SourceSpan& span, int64_t frameStart, int32_t frameSamples) {
  const int64_t begin = std::max(span.skip, frameStart);
  const int64_t end = std::min(span.skip + span.length, frameStart + frameSamples);
  if (frameSamples <= 0 || end <= begin) return FrameCut{0, 0};
  return FrameCut{static_cast<int32_t>(begin - frameStart), static_cast<int32_t>(end - begin)};
}

}  // namespace orva

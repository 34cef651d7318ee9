// Gapless playback: with the switch on (engineSetGapless) and a Layer III
// stream whose first frame carries the encoder's delay and padding, the
// engine plays, writes and counts only the encoded source: the decoded
// samples before it and after it are dropped. Durations, the total sample
// count and positions then count source samples, position 0 being the
// source's first sample. Without that header, or with the switch off,
// nothing here changes a stream. Host's thread at open and at play start;
// the frame cut runs on the playback thread.
#pragma once

#include <cstdint>

#include "decoder/encoder_gap.h"

namespace orva {

// At open: reads the gap from the first frame at the stream's audio start
// (the engine's file and header must describe it). Nothing for PCM input.
void readOpenStreamGap();
// Whether the open stream is trimmed: the switch was on at open or was set
// since, and the stream has a gap.
bool gaplessActive();
// The open stream's source span at the given down-sampling shift.
SourceSpan openSourceSpan(int32_t downsampleShift);
// Output samples per channel of the whole open stream as the engine
// reports it: the source span when trimming, else every frame's output.
int64_t streamTotalSamples();
// Recomputes the open stream's duration after the switch changed.
void refreshGaplessDuration();

// The part of one decoded frame that belongs to the source: `first` sample
// of the frame and `count` samples from there (0 when none does).
struct FrameCut {
  int32_t first;
  int32_t count;
};
// For a frame whose first sample is sample `frameStart` of the decoded
// output (counted from the first audio frame), `frameSamples` long.
FrameCut cutFrame(const SourceSpan& span, int64_t frameStart, int32_t frameSamples);

}  // namespace orva

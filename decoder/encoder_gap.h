// The encoder's delay and padding that a Layer III stream's "Xing" or "Info"
// header may carry in its encoder extension, and the part of the decoded
// output that is the encoded source. Pure functions over bytes and numbers:
// the engine reads the gap when it opens a file and, when asked to, plays
// only that part.
#pragma once

#include <cstdint>

#include "decoder/frame_header.h"

namespace orva {

// Samples per channel at the stream's own rate: silence the encoder put in
// front of the source, and after it to fill the last frame.
struct EncoderGap {
  int32_t delay;
  int32_t padding;
};

// The synthesis filterbank puts this many samples of its own in front of a
// Layer III stream's output at full rate.
inline constexpr int32_t kLayer3DecoderDelay = 529;

// The gap from the first frame at `bytes` (`length` valid bytes), which
// readStreamHeader has read into `header`. False, leaving `gap` alone, unless
// the frame is Layer III, holds a "Xing" or "Info" header with a frame count
// and an encoder extension, and the delay and padding are plausible: each
// under two frames, and together shorter than the stream. An encoder that
// adds no delay records zeros; the decoder's own delay is trimmed all the
// same.
bool readEncoderGap(const uint8_t* bytes, int32_t length, const MpegFrameHeader& header, EncoderGap& gap);

// The source within the decoded output, in output samples per channel from
// the first audio frame (the header frame not counted).
struct SourceSpan {
  int64_t skip;    // samples before the source's first one
  int64_t length;  // the source's samples
};

// For `frameCount` audio frames of `samplesPerFrame` (full rate) decoded at
// the rate shifted right by `downsampleShift`. A padding shorter than the
// decoder's delay leaves the source's last samples undecoded: the span then
// ends with the output.
SourceSpan sourceSpan(const EncoderGap& gap, uint32_t frameCount, int32_t samplesPerFrame, int32_t downsampleShift);

}  // namespace orva

// The decoder's front door: initialisation, starting a stream at its first
// frame, decoding one frame at a time, and the muted handler used while the
// engine measures its way to a seek target. One decoder per process; called
// from the engine's playback thread (initDecoder once from the window thread).
#pragma once

#include <cstdint>

#include "decoder/frame_header.h"

namespace orva {

// The record through which the engine asks for one frame.
struct FrameDecodeJob {
  int32_t version;
  int32_t layer;
  int32_t hasCrc;
  int32_t bitrateIndex;
  int32_t sampleRateIndex;
  int32_t padding;
  int32_t privateBit;
  int32_t mode;
  int32_t modeExtension;
  int32_t copyright;
  int32_t original;
  int32_t emphasis;
  int32_t bitrate;       // out: bit/s of this frame
  const uint8_t* input;  // in: a frame sync
  int32_t inputLength;   // in: bytes available; out: bytes consumed
  uint8_t* output;       // in: room for the stream's output bytes per frame
  int32_t outputLength;  // out: PCM bytes produced
};

void initDecoder();
bool startDecoding(const uint8_t* bytes, int32_t length);
bool decodeFrame(FrameDecodeJob& job);
void muteLayerHandler();
void restoreLayerHandler(const MpegFrameHeader& header);
void restoreLayerHandler(const FrameDecodeJob& job);

// Ten band values in tenths of a decibel, or nullptr to switch the
// equalizer off (the gains are kept). Returns 1.
int32_t setEqualizerGains(const int32_t* bandValues);

// Test hook: lifts the deliberate bandwidth limits (the top subband at full
// rate, the last MPEG-2 scale-factor band) so that accuracy can be compared
// with references that keep them. Takes effect at the next startDecoding.
void setFullBandwidthForTesting(bool on);

}  // namespace orva

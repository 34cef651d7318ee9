// The analyser: what the device plays now, as 256 levels in decibels per
// channel (a 512-point transform) or as 256 scaled samples per channel. It
// reads the output queue's ring of sent blocks, so it costs nothing while
// nobody asks. The readers may be called from any thread; calls are taken
// one at a time.
#pragma once

#include <cstdint>

namespace orva {

inline constexpr int32_t kAnalyserBands = 256;
inline constexpr int32_t kWaveformSamples = 256;

// 0 rectangular, 1 Hann (the initial mode), 2 Hamming, 3 Blackman window;
// any other value selects 1. Returns `mode`.
int32_t analyserSetMode(int32_t mode);
int32_t analyserMode();

// Levels of the 512 frames from the play position on (kSilentBandLevel for
// a silent band); a mono stream gives a right side of zeros. The frames
// analysed (512), or 0 with both sides zeroed when there is nothing to
// analyse yet.
int32_t analyserGetSpectrum(int32_t* left, int32_t* right);
// The 256 frames from the play position on, each scaled to -100..100. 0,
// leaving both sides alone, while the device position is 0; 0 with both
// sides zeroed when the ring has nothing there.
int32_t analyserGetWaveform(int32_t* left, int32_t* right);

}  // namespace orva

// The wave output queue: gathers PCM from the playback thread into blocks,
// applies the software levels and ramps, and submits the blocks to the wave
// device through a ring of 32 headers, waiting on a semaphore while all 32
// are at the device. Keeps the last 80 blocks it sent for the analyser.
// One queue per process.
//
// Threads: the playback thread appends, writes, resets and closes; the
// host's thread sets levels, volume and options and reads positions (and
// resets, pauses and restarts the device while a stream plays out).
#pragma once

#include <cstdint>

#include "output/wave_device.h"

namespace orva {

struct OutputFormat {
  int32_t channels;
  int32_t bits;        // 8 or 16
  int32_t sampleRate;  // Hz
  int32_t blockSize;   // bytes per block
};

inline constexpr int32_t kBlockRingSize = 80;

int32_t outputInit();
int32_t outputFree();
int32_t outputOpen(const OutputFormat& format);
int32_t outputClose();
int32_t outputAppend(const uint8_t* pcm, int32_t bytes);
int32_t outputReset();
int32_t outputPause();
int32_t outputRestart();
int32_t outputSetVolume(int32_t left, int32_t right);
int32_t outputGetVolume(int32_t* left, int32_t* right);
uint32_t outputGetCaps();
int64_t outputGetPosition();  // device samples x cue factor; 0 when unknown

void outputSetDevice(int32_t deviceId);
int32_t outputGetDevice();
void outputSetRatePercent(int32_t percent);
int32_t outputGetRatePercent();
void outputSetCueFactor(int32_t factor);
int32_t outputGetCueFactor();
void outputSetSleep(int32_t milliseconds);
void outputSetLevels(int32_t left, int32_t right);
int32_t outputGetLevels(int32_t* left, int32_t* right);
void outputSetFadeIn(int32_t on);
void outputSetFadeOutAtEnd(int32_t on);
void outputRestoreLevels();
uint32_t outputDetailValue();
bool outputIsOpen();

// What the fade-out at the end needs of the stream: its total length and the
// sample at which the current run of the device began. The engine sets them
// at the start of playback and after each seek (playback thread).
void outputSetStreamPosition(int64_t totalSamples, int64_t positionBase);

// Called once per wait while outputClose waits for the device to play what
// is queued (playback thread): the engine reports the position and takes a
// step of its fade-out there.
using OutputWaitHook = void (*)();
void outputSetWaitHook(OutputWaitHook hook);

// The device the next open takes: `device` when given (tests), else the one
// the device id names: the silent device for kSilentDevice, the platform's
// for the others. Only while closed; nullptr returns to the device id.
void outputUseDevice(WaveDevice* device);
// The open device, or the one the next open takes.
WaveDevice& outputDevice();

// What the device plays now, for the analyser: `frames` sample frames of
// the PCM sent to it, from the device's position on (cue factor included),
// copied out of the ring under the ring's lock so that no block is replaced
// half-way. The window is kept inside what was submitted: it ends at the
// last byte submitted at the latest. `bytes` is 0 (and nothing copied) when
// the device has not yet played `frames` frames, when its position lies
// outside the ring, or when `capacity` is too small.
struct SoundingPcm {
  int32_t channels = 0;
  int32_t bits = 0;
  int32_t bytes = 0;
};
SoundingPcm outputCopySounding(int32_t frames, uint8_t* out, int32_t capacity);

}  // namespace orva

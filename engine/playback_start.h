// Starting playback on the host's thread: buffers sized, the device opened,
// the decoder started on the first frame, the WAV file created, the thread
// started and awaited. Each returns ENGINE_OK or the status of the failure.
#pragma once

#include <cstdint>

namespace orva {

int32_t startPlay();                          // enginePlay
int32_t startPlayToWave(const char* path);    // enginePlayToWave
int32_t startDecodeToWave(const char* path);  // engineDecodeToWave

// Waits until the last playback thread has finished (at most `ms`), and
// joins it if it has. True when no thread remains.
bool reapPlaybackThread(int32_t milliseconds);

}  // namespace orva

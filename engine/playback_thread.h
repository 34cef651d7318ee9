// The playback thread: reads the open stream, decodes it frame by frame (or
// copies PCM WAVE data), feeds the output queue and the WAV file, and takes
// the transport messages between two frames. Also the handlers that the
// host's thread runs itself while the thread plays out the end of a stream.
#pragma once

#include <cstdint>

namespace orva {

// The thread procedure; started by the play routines.
void playbackThreadMain();

// Stop handler: end flag 0 for a stop request, 1 when the stream ended.
void stopHandler(int32_t endFlag);
void pauseHandler();
void resumeHandler();
void seekHandler(int64_t targetSample);

// One step of the fade-out while the output waits for the device to play
// out (the output queue's wait hook), with the position report.
void playOutWaitStep();

}  // namespace orva

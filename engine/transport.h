// Transport requests from the host's thread: stop, pause, resume, seek,
// restart and the equalizer, handed to the playback thread as messages or,
// when no thread takes messages, carried out directly. Each returns the
// entry point's result and sets the status itself.
#pragma once

#include <cstdint>

namespace orva {

int32_t transportStop();
int32_t transportPause();
int32_t transportResume();
int32_t transportSeekSamples(int64_t sample);
int32_t transportRestart();
int32_t transportSetEqualizer(const int32_t* bandValues);

// Engine start-up and shut-down of the playback side.
void playbackInit();
void playbackShutdown();

}  // namespace orva

// The play position as the engine reports it: from the device's sample
// count (or, when only a WAV file is written, from the bytes written) plus
// the position base. Called on the host's thread and the playback thread.
#pragma once

#include <cstdint>

namespace orva {

// Samples since the start of the stream (device or file plus the base).
int64_t positionSamples();
// The unclamped, untruncated position in seconds (time scale applied).
double positionSecondsExact();
// Whole seconds as engineGetState reports them; kept as the position cache
// and held at the duration while the clamp flag is set.
int32_t positionSeconds();
int32_t positionMilliseconds();
int32_t positionFrameIndex();
// trunc(((device samples + base) / rate) x time scale), for the callback.
int32_t reportedSeconds();

}  // namespace orva

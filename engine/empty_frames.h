// Counting the frames of padding (payload bytes all 0xFF) at the start of a
// file's audio, a check some hosts make before trimming a stream.
#pragma once

#include <cstdint>

namespace orva {

// The number of leading empty frames, or -1 with `status` set.
int32_t countLeadingEmptyFrames(const char* path, int32_t& status);

}  // namespace orva

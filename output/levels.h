// The software level ramps of the output queue and the scaling of a block by
// two levels. Pure functions; the queue's writer applies them per block.
#pragma once

#include <cstdint>

namespace orva {

// One fade-out step near the end of a stream: 10 down while above 50, 5
// while above 10, 2 while above 2, 1 while above 0; never below 0.
int32_t fadeOutStep(int32_t level);
// One fade-in step: 1 up while at or below 9, 5 while below 50, 10 while
// below 100; never above `target`. From 0 to 100 takes 23 blocks.
int32_t fadeInStep(int32_t level, int32_t target);
// Scales interleaved PCM in place by level / 100 (left on even samples,
// right on odd ones when there are two channels; mono uses left).
void scaleBlock(uint8_t* data, int32_t bytes, int32_t bits, int32_t channels, int32_t left, int32_t right);

}  // namespace orva

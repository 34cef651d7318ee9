// The joystick as the player reads it: the stick's position as one of three
// directions per axis, acted on only when a direction changes, and the four
// buttons as transport actions. Readings come from the window code; the
// rules are plain arithmetic so they can be checked with recorded readings.
#pragma once

#include <cstdint>
#include <vector>

namespace orva {

// An axis' range as the device reports it (unsigned, as the system gives it).
struct AxisRange {
  uint32_t min;
  uint32_t max;
};

// -1 below the lower third, 1 above the upper third, 0 in between (the
// lower value is the stick pushed left or up).
int32_t axisDirection(uint32_t position, const AxisRange& range);

enum class StickAction : uint8_t { SeekBack, SeekForward, VolumeUp, VolumeDown };

// What a new reading does against the last one: only a direction that
// changes acts; holding the stick repeats nothing.
std::vector<StickAction> stickActions(int32_t lastX, int32_t lastY, int32_t x, int32_t y);

// The buttons held (bit 0 = button 1 .. bit 3 = button 4): the doAction of
// each, in button order (play, pause, previous, next).
std::vector<int32_t> joystickButtonActions(uint32_t buttons);

}  // namespace orva

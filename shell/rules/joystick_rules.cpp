// Joystick directions and buttons; see joystick_rules.h.
#include "shell/rules/joystick_rules.h"

namespace orva {

int32_t axisDirection(uint32_t position, const AxisRange& range) {
  // Unsigned thirds, each bound made of two parts so that a range up to
  // 0xFFFFFFFF does not overflow.
  const uint32_t high = (2 * (range.max / 3)) + ((2 * (range.max % 3)) / 3) + range.min / 3;
  const uint32_t low = (2 * (range.min / 3)) + ((2 * (range.min % 3)) / 3) + range.max / 3;
  if (position > high) return 1;
  if (position < low) return -1;
  return 0;
}

std::vector<StickAction> stickActions(int32_t lastX, int32_t lastY, int32_t x, int32_t y) {
  std::vector<StickAction> actions;
  if (x != lastX && x == -1) actions.push_back(StickAction::SeekBack);
  if (x != lastX && x == 1) actions.push_back(StickAction::SeekForward);
  if (y != lastY && y == -1) actions.push_back(StickAction::VolumeUp);
  if (y != lastY && y == 1) actions.push_back(StickAction::VolumeDown);
  return actions;
}

std::vector<int32_t> joystickButtonActions(uint32_t buttons) {
  // Buttons 1 to 4: play, pause, previous, next.
  constexpr int32_t kActions[4] = {2, 3, 1, 5};
  std::vector<int32_t> actions;
  for (int button = 0; button < 4; ++button) {
    if ((buttons & (1u << button)) != 0) actions.push_back(kActions[button]);
  }
  return actions;
}

}  // namespace orva

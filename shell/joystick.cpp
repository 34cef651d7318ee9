// Joystick input through the multimedia joystick functions. Any answer but
// JOYERR_NOERROR means there is no joystick to use.
#include "shell/joystick.h"

#include <windows.h>

#include <mmsystem.h>

#include "shell/commands.h"
#include "shell/controls.h"
#include "shell/rules/joystick_rules.h"
#include "shell/shell_state.h"

namespace orva {

namespace {

constexpr UINT kThreshold = 100;
constexpr UINT kCapturePeriodMs = 10;

struct Joystick {
  int32_t joystickId = -1;
  AxisRange x{0, 0};
  AxisRange y{0, 0};
};
Joystick gJoystick;

bool readPosition(UINT id, DWORD flags, JOYINFOEX& info) {
  info = JOYINFOEX{};
  info.dwSize = sizeof info;
  info.dwFlags = flags;
  return joyGetPosEx(id, &info) == JOYERR_NOERROR;
}

}  // namespace

int32_t initJoystick(HWND mainWindow) {
  gJoystick = Joystick{};
  if (joyGetNumDevs() == 0) return 0;
  JOYINFOEX info;
  UINT id = JOYSTICKID1;
  if (!readPosition(id, JOY_RETURNX | JOY_RETURNY, info)) {
    id = JOYSTICKID2;
    if (!readPosition(id, JOY_RETURNX | JOY_RETURNY, info)) return 0;
  }
  JOYCAPSA caps{};
  if (joyGetDevCapsA(id, &caps, sizeof caps) != JOYERR_NOERROR) return 0;
  gJoystick.x = AxisRange{caps.wXmin, caps.wXmax};
  gJoystick.y = AxisRange{caps.wYmin, caps.wYmax};
  joySetThreshold(id, kThreshold);
  if (joySetCapture(mainWindow, id, kCapturePeriodMs, TRUE) != JOYERR_NOERROR) return 0;
  gJoystick.joystickId = static_cast<int32_t>(id);
  return 1;
}

void releaseJoystick() {
  if (gJoystick.joystickId >= 0) joyReleaseCapture(static_cast<UINT>(gJoystick.joystickId));
  gJoystick = Joystick{};
}

bool pollJoystick(int32_t& x, int32_t& y) {
  if (gJoystick.joystickId < 0) return false;
  JOYINFOEX info;
  if (!readPosition(static_cast<UINT>(gJoystick.joystickId), JOY_RETURNX | JOY_RETURNY | JOY_RETURNBUTTONS, info)) {
    return false;
  }
  x = axisDirection(info.dwXpos, gJoystick.x);
  y = axisDirection(info.dwYpos, gJoystick.y);
  return true;
}

void joystickTick() {
  ShellState& s = shellState();
  int32_t x = 0;
  int32_t y = 0;
  if (!pollJoystick(x, y)) return;
  for (StickAction action : stickActions(s.joystickLastX, s.joystickLastY, x, y)) {
    switch (action) {
      case StickAction::SeekBack: stepSeek(-kKeySeekSeconds); break;
      case StickAction::SeekForward: stepSeek(kKeySeekSeconds); break;
      case StickAction::VolumeUp: stepVolume(true); break;
      case StickAction::VolumeDown: stepVolume(false); break;
    }
  }
  s.joystickLastX = x;
  s.joystickLastY = y;
}

void onJoystickButtons(WPARAM buttons) {
  for (int32_t action : joystickButtonActions(static_cast<uint32_t>(buttons))) doAction(action);
}

}  // namespace orva

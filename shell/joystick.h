// The joystick: found and captured at start-up, its stick polled by the
// 10 ms timer, its buttons arriving as messages to the main window.
#pragma once

#include <windows.h>

#include <cstdint>

namespace orva {

// 1 when a joystick was found and captured for `mainWindow`, else 0 (the
// feature stays off).
int32_t initJoystick(HWND mainWindow);
// Releases the capture at shutdown.
void releaseJoystick();
// The stick's directions (-1, 0, 1 each); false without a reading.
bool pollJoystick(int32_t& x, int32_t& y);
// The 10 ms timer: seek and volume steps on changed directions.
void joystickTick();
// MM_JOY1BUTTONDOWN / MM_JOY2BUTTONDOWN with the buttons held.
void onJoystickButtons(WPARAM buttons);

}  // namespace orva

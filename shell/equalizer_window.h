// The equalizer window, docked under the main window. For now an empty
// modeless window that the layout shows, hides and carries along.
#pragma once

#include <windows.h>

namespace orva {

HWND createEqualizerWindow(HINSTANCE instance, HWND owner);

}  // namespace orva

// The equalizer window (template EQDLG), docked under the main window: ten
// band sliders, the on/off box, the reset button and the preset menu. It
// hands the band values to the engine and restarts playback at the same
// place so that a change is heard at once. Created once at start-up, owned
// by the main window; window thread only.
#pragma once

#include <windows.h>

namespace orva {

// Reads the equalizer's values from the loaded settings record; when the
// window is destroyed it stores the final values back there for the
// settings writer.
HWND createEqualizerWindow(HINSTANCE instance, HWND owner);

}  // namespace orva

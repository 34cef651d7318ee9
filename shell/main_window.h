// The main window's procedure (class "orva"): each message goes to a named
// handler in the file that owns its concern.
#pragma once

#include <windows.h>

namespace orva {

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WM_CREATE and WM_DESTROY: the children, timers, menu, glyph sheet,
// settings and start-up list; and their undoing in the shutdown order.
LRESULT onMainCreate(HWND window);
LRESULT onMainDestroy(HWND window);

}  // namespace orva

// The lyrics window (class "orvaly"), docked under the main window. For now
// it paints its face; the lines come with the lyric display.
#pragma once

#include <windows.h>

namespace orva {

LRESULT CALLBACK lyricsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace orva

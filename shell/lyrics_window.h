// The lyrics window (class "orvaly"), docked under the main window: the
// previous, current (heavy) and next lyric lines of the playing track,
// following the play position from the main window's 10 ms timer.
#pragma once

#include <windows.h>

namespace orva {

LRESULT CALLBACK lyricsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Track start: the three lines go empty.
void clearLyricLines();
// The 10 ms timer, while the track has lyrics: the lines around the play
// position, each set only when its text changed.
void updateLyricLines();

}  // namespace orva

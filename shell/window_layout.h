// The main window's geometry: its children for each size and mode, the
// windows docked under it, the frame's limits, the list and compact
// toggles, and the drag by the window's own surface.
#pragma once

#include <windows.h>

#include "shell/rules/layout_rules.h"

namespace orva {

// The main window as it stands now.
WindowFrame mainWindowFrame();

// WM_SIZE (and once at start-up with SIZE_RESTORED).
void layoutMainWindow(WPARAM sizeType);
// The equalizer and lyrics windows under the main window (also on WM_MOVE).
void placeDockedWindows();
// WM_SIZING.
void limitMainWindowSizing(WPARAM edge, RECT* proposed);

void toggleListWindow();
void toggleEqualizerWindow();
void toggleLyricsWindow();
// Shows or hides the list and the nine buttons for the compact mode.
void showFullControls(bool shown);
// A double click in the left strip.
void toggleCompactMode();

// Dragging the window by its surface (or the title line). Points are in
// the main window's client coordinates, as its mouse messages carry them.
void beginWindowDrag(POINT client);
void endWindowDrag();
void dragWindow(bool leftButtonDown, POINT client);

// Sticky mode: hide against the right screen edge or slide out, by where
// the pointer is. The 500 ms timer moves the window with a repaint; the
// mouse-move path only moves it.
void stickyModeStep(bool fromTimer);

}  // namespace orva

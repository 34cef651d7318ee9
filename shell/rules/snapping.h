// The main window's drag: the grab point, the snapping of the dragged
// window to the screen's and the taskbar's edges, and the places of the
// equalizer and lyrics windows that hang below it and follow it.
#pragma once

#include <cstdint>

#include "shell/rules/geometry.h"

namespace orva {

// The docked windows are this high, and the equalizer window this wide.
inline constexpr int32_t kDockedHeight = 110;
inline constexpr int32_t kEqualizerWidth = 180;
// How close an edge must come, exclusive, before the window jumps to it.
inline constexpr int32_t kSnapDistance = 10;

// What the window snaps against: the desktop window's rectangle and, when
// there is one, the taskbar's.
struct SnapScreen {
  Rect desktop;
  bool hasTaskbar;
  Rect taskbar;
};

struct DragState {
  Point grab;     // the cursor's offset inside the window when the drag began
  int32_t width;  // the window's size, kept through the drag
  int32_t height;
  bool docked;  // the equalizer or lyrics window is shown below
  bool sticky;  // sticky mode holds the window against the right edge
};

// WM_LBUTTONDOWN: the cursor's offset inside the window, held inside it (or
// inside the docked windows below it when they are shown).
Point grabOffset(Point cursor, const Rect& window, bool docked);

// WM_MOUSEMOVE while dragging: the window's new top-left corner.
Point snapDraggedWindow(Point cursor, const DragState& drag, const SnapScreen& screen);

struct DockedPlaces {
  Rect equalizer;  // meaningful when the equalizer window is shown
  Rect lyrics;     // meaningful when the lyrics window is shown
};

// Both hang from the main window's bottom edge: the equalizer at its left
// corner, the lyrics window beside it, or across the full width alone.
DockedPlaces placeDockedWindows(const Rect& mainWindow, bool equalizerVisible);

}  // namespace orva

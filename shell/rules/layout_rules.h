// Where the main window's children go for its size and mode, how far its
// frame may be dragged, and the sizes the list and compact toggles ask for.
// The window procedure gathers a WindowFrame, calls a rule and applies the
// answer; nothing here touches a window.
#pragma once

#include <array>
#include <cstdint>

#include "shell/rules/geometry.h"

namespace orva {

// The control row: buttons, title line, seek bar and volume bar.
inline constexpr int32_t kControlRowHeight = 29;
// Narrowest window with the buttons shown, and in compact mode.
inline constexpr int32_t kMinWindowWidth = 244;
inline constexpr int32_t kMinCompactWindowWidth = 133;
// Client height below which the list is not worth showing.
inline constexpr int32_t kMinListClientHeight = 48;

// The main window as it stands: its screen rectangle and its client size.
struct WindowFrame {
  Rect window;
  int32_t clientWidth;
  int32_t clientHeight;

  int32_t nonClientHeight() const { return window.height() - clientHeight; }
};

enum MainChild : int32_t {
  kPreviousButton,
  kPlayButton,
  kPauseButton,
  kStopButton,
  kNextButton,
  kListToggle,
  kEqualizerToggle,
  kLyricsToggle,
  kModeButton,
  kTitleDisplay,
  kSeekBar,
  kVolumeBar,
  kPlaylistBox,
  kMainChildCount
};

enum class ListVisibility : uint8_t { Unchanged, Shown, Hidden };

// Applied in this order: children moved (client coordinates), list shown or
// hidden, lastHeight remembered, then the window resized (its WM_SIZE runs
// the layout again).
struct MainLayout {
  std::array<Rect, kMainChildCount> child;
  std::array<bool, kMainChildCount> placed;
  int32_t seekWidth;  // valid when the title line was placed
  ListVisibility playlist;
  bool rememberHeight;
  int32_t lastHeight;  // when rememberHeight
  bool resize;
  Rect window;  // when resize
};

// For WM_SIZE types SIZE_RESTORED and SIZE_MAXIMIZED, and at start-up; other
// types leave the children where they are.
MainLayout layoutMainWindow(const WindowFrame& frame, bool compactMode);

// Which edges of the frame the user is dragging (from WM_SIZING's wParam).
struct SizingEdges {
  bool left;
  bool top;
};

// From WM_SIZING's wParam, the WMSZ_ edge codes 1 (left) to 8 (bottom right).
SizingEdges sizingEdges(uint32_t wmszEdge);

// WM_SIZING: the proposed rectangle held to the mode's limits. A too small
// size moves the edge being dragged back, so the opposite edge stays put.
Rect limitSizing(const Rect& proposed, const SizingEdges& edges, int32_t nonClientHeight, bool compactMode);

// The list toggle: collapse to the control row, or expand to lastHeight;
// the bottom edge stays either way.
Rect toggleListWindow(const WindowFrame& frame, int32_t lastHeight);

// A double click in the left strip of the client area flips compact mode.
bool isCompactToggleSpot(int32_t clientX, int32_t clientY);

struct CompactToggle {
  bool compactMode;         // the new mode
  bool showButtonsAndList;  // true: show the nine buttons and the list; false: hide them
  bool resize;
  Rect window;  // when resize
};

// Leaving keeps the 29-pixel height, so the list stays hidden until the list
// toggle expands the window again.
CompactToggle toggleCompactMode(const WindowFrame& frame, bool compactMode);

}  // namespace orva

// Sticky mode: the player hides against the right screen edge, leaving a
// 13-pixel strip, and slides fully out while the pointer is over it (or
// over the windows docked below it, or while it holds the mouse).
#pragma once

#include <cstdint>

#include "shell/rules/geometry.h"

namespace orva {

inline constexpr int32_t kStickyStripWidth = 13;
// Slid out, the right border sits just off the screen.
inline constexpr int32_t kStickyBorderOverhang = 3;

struct StickyInput {
  Rect window;        // the main window
  Rect desktop;       // the desktop window's rectangle
  Point cursor;       // screen coordinates
  bool docked;        // the equalizer or lyrics window is shown below
  bool holdsCapture;  // the player's windows hold the mouse
};

// The pointer counts as over the player.
bool stickyPointerInside(const StickyInput& in);

struct StickyMove {
  bool move;
  int32_t x;  // the window's new left edge when move
};

// One step: slide out when the pointer is over the player, hide otherwise;
// nothing when the window is already there.
StickyMove stickyStep(const StickyInput& in);

}  // namespace orva

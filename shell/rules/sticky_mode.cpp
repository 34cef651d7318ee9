// Sticky mode's step; see sticky_mode.h.
#include "shell/rules/sticky_mode.h"

#include "shell/rules/snapping.h"

namespace orva {

bool stickyPointerInside(const StickyInput& in) {
  if (in.holdsCapture) return true;
  const Rect& w = in.window;
  // The docked windows hang 110 pixels below and count as the player.
  const int32_t bottom = in.docked ? w.bottom + kDockedHeight - 1 : w.bottom - 1;
  return in.cursor.x > w.left + 1 && in.cursor.x < w.right && in.cursor.y > w.top + 1 && in.cursor.y < bottom;
}

StickyMove stickyStep(const StickyInput& in) {
  const Rect& w = in.window;
  const Rect& d = in.desktop;
  if (stickyPointerInside(in)) {
    if (w.right == d.right + kStickyBorderOverhang) return {false, w.left};
    return {true, d.right - w.width() + kStickyBorderOverhang};
  }
  if (w.left == d.right - kStickyStripWidth) return {false, w.left};
  return {true, d.right - kStickyStripWidth};
}

}  // namespace orva

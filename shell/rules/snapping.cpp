// Snapping the dragged main window. An edge snaps when it comes strictly
// closer than kSnapDistance; the later rules win over the earlier ones.
#include "shell/rules/snapping.h"

#include <algorithm>

namespace orva {

namespace {

// Always-visible part: the window can leave the screen at the top or bottom
// but keeps this many pixels of itself (or of its docked windows) on it.
constexpr int32_t kVisibleMargin = 3;

bool closeTo(int32_t value, int32_t target) { return target - kSnapDistance < value && value < target + kSnapDistance; }

// Which screen edge the taskbar lies against, told by the edge it leaves
// free. Each taskbar snap applies only to the taskbar on its own edge: a
// taskbar's top edge is something to rest on only when it is at the bottom.
struct TaskbarSides {
  bool bottom;
  bool top;
  bool left;
  bool right;
};

TaskbarSides taskbarSides(const SnapScreen& s) {
  if (!s.hasTaskbar) return {};
  const Rect& d = s.desktop;
  const Rect& k = s.taskbar;
  TaskbarSides sides{};
  sides.bottom = k.top > d.top;
  sides.top = k.bottom < d.bottom;
  sides.left = k.right < d.right;
  sides.right = k.left > d.left;
  return sides;
}

int32_t snapX(int32_t x, const DragState& drag, const SnapScreen& screen, const TaskbarSides& taskbar) {
  const Rect& d = screen.desktop;
  const Rect& k = screen.taskbar;
  const int32_t w = drag.width;
  if (closeTo(x, d.left)) x = d.left;
  if (closeTo(x + w, d.right)) x = d.right - w;
  if (taskbar.left && closeTo(x, k.right)) x = k.right;
  if (taskbar.right && closeTo(x + w, k.left)) x = k.left - w;
  return x;
}

int32_t snapY(int32_t y, const DragState& drag, const SnapScreen& screen, const TaskbarSides& taskbar) {
  const Rect& d = screen.desktop;
  const Rect& k = screen.taskbar;
  // The bottom that rests on an edge is the docked windows' when they are shown.
  const int32_t h = drag.height + (drag.docked ? kDockedHeight : 0);
  if (closeTo(y, d.top)) y = d.top;
  if (taskbar.bottom && closeTo(y + h, k.top)) y = k.top - h;
  if (closeTo(y + h, d.bottom)) y = d.bottom - h;
  if (taskbar.top && closeTo(y, k.bottom)) y = k.bottom;
  y = std::min(y, d.bottom - kVisibleMargin);
  if (y + h < d.top + kVisibleMargin) y = d.top + kVisibleMargin - h;
  return y;
}

}  // namespace

Point grabOffset(Point cursor, const Rect& window, bool docked) {
  const int32_t maxY = window.height() + (docked ? kDockedHeight : 0);
  return {std::clamp(cursor.x - window.left, 0, window.width()), std::clamp(cursor.y - window.top, 0, maxY)};
}

// In sticky mode the horizontal place belongs to sticky mode: the window
// stays fully out against the right edge, and no other edge moves it.
Point snapDraggedWindow(Point cursor, const DragState& drag, const SnapScreen& screen) {
  const TaskbarSides taskbar = taskbarSides(screen);
  int32_t x = drag.sticky ? screen.desktop.right - drag.width + kVisibleMargin
                          : snapX(cursor.x - drag.grab.x, drag, screen, taskbar);
  int32_t y = snapY(cursor.y - drag.grab.y, drag, screen, taskbar);
  return {x, y};
}

DockedPlaces placeDockedWindows(const Rect& mainWindow, bool equalizerVisible) {
  const int32_t l = mainWindow.left;
  const int32_t b = mainWindow.bottom;
  const int32_t w = mainWindow.width();
  DockedPlaces p{};
  p.equalizer = rectAt(l, b, kEqualizerWidth, kDockedHeight);
  // A compact window can be narrower than the equalizer; the lyrics window
  // beside it then shrinks to nothing rather than turning inside out.
  p.lyrics = equalizerVisible ? rectAt(l + kEqualizerWidth, b, std::max(w - kEqualizerWidth, 0), kDockedHeight)
                              : rectAt(l, b, w, kDockedHeight);
  return p;
}

}  // namespace orva

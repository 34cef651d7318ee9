// Pixel geometry, the way the window system states it: a rectangle's right
// and bottom lie just outside it. Screen or client coordinates, as the user
// of a record says.
#pragma once

#include <cstdint>

namespace orva {

struct Rect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;

  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

struct Point {
  int32_t x;
  int32_t y;
  bool operator==(const Point&) const = default;
};

inline Rect rectAt(int32_t x, int32_t y, int32_t width, int32_t height) { return {x, y, x + width, y + height}; }

}  // namespace orva

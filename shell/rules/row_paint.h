// What one owner-drawn play list row looks like: whether the row is drawn
// at all for the list box's request, its colours, the duration text and
// where the duration and the display text go. The list box's WM_DRAWITEM
// handler fills a RowPaintInput from the DRAWITEMSTRUCT and the entry,
// measures the duration text, and paints what comes back.
#pragma once

#include <cstdint>

#include "shell/rules/geometry.h"

namespace orva {

// The list box's item actions and the one item state the rows read, with
// the window system's values.
inline constexpr uint32_t kOdaDrawEntire = 0x0001;
inline constexpr uint32_t kOdaSelect = 0x0002;
inline constexpr uint32_t kOdaFocus = 0x0004;
inline constexpr uint32_t kOdsSelected = 0x0001;

inline constexpr int32_t kPlaylistRowHeight = 12;

// 0x00BBGGRR, as a COLORREF holds it.
using Colour = uint32_t;
inline constexpr Colour rgbColour(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<Colour>(r) | (static_cast<Colour>(g) << 8) | (static_cast<Colour>(b) << 16);
}
inline constexpr Colour kSelectionColour = rgbColour(0, 0, 128);
inline constexpr Colour kSelectionTextColour = rgbColour(255, 255, 255);
inline constexpr Colour kRowTextColour = rgbColour(0, 0, 0);

struct RowPaintInput {
  uint32_t itemAction;
  uint32_t itemState;
  bool hasEntry;     // false for the list box's error value or a row past the drag order
  bool moveActive;   // a move drag is running
  bool entryMoving;  // the entry shown here belongs to the dragged block
  int32_t durationSeconds;
  Colour windowColour;  // the system's window colour, for rows not highlighted
};

enum class RowPaintKind : uint8_t { Nothing, FocusRect, Row };

struct RowPaint {
  RowPaintKind kind;
  bool highlighted;
  Colour fill;        // pen and brush of the row's rectangle
  Colour text;        // drawn on a transparent background
  char duration[16];  // empty when the entry has no duration
};

// During a move drag the list box's selection still marks the rows the
// block left, so only the moving flag highlights a row then; otherwise the
// selection does. The focus rectangle is left out during a drag, where it
// would sit on a row the block no longer occupies.
RowPaint rowPaint(const RowPaintInput& in);

struct RowTextLayout {
  bool hasDuration;
  Point textOrigin;   // without a duration: the display text, unclipped
  Rect durationRect;  // drawn right-aligned
  Rect textRect;      // the display text, cut with an ellipsis at its end
};

// Where the texts of row `item` go. The duration, `durationWidth` pixels as
// measured in the row's font, ends at the row's right edge; the display text
// runs from the left edge to one pixel before it, and gets no room at all
// when the duration is wider than the row. `hasDuration`: the RowPaint's
// duration text is not empty.
RowTextLayout rowTextLayout(const Rect& item, bool hasDuration, int32_t durationWidth);

}  // namespace orva

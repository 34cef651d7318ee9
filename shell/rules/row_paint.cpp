// Drawing decisions of one play list row.
#include "shell/rules/row_paint.h"

#include <algorithm>

#include "playlist/playlist_entry.h"

namespace orva {

namespace {

RowPaintKind paintKind(const RowPaintInput& in) {
  if (!in.hasEntry) return RowPaintKind::Nothing;
  if ((in.itemAction & (kOdaDrawEntire | kOdaSelect)) != 0) return RowPaintKind::Row;
  if ((in.itemAction & kOdaFocus) != 0 && !in.moveActive) return RowPaintKind::FocusRect;
  return RowPaintKind::Nothing;
}

bool isHighlighted(const RowPaintInput& in) {
  if (in.moveActive) return in.entryMoving;
  return (in.itemState & kOdsSelected) != 0;
}

}  // namespace

RowPaint rowPaint(const RowPaintInput& in) {
  RowPaint paint{};
  paint.kind = paintKind(in);
  if (paint.kind != RowPaintKind::Row) return paint;
  paint.highlighted = isHighlighted(in);
  paint.fill = paint.highlighted ? kSelectionColour : in.windowColour;
  paint.text = paint.highlighted ? kSelectionTextColour : kRowTextColour;
  // Minutes run on past 99 ("100:00"); the measured width makes room.
  formatDuration(in.durationSeconds, paint.duration, sizeof paint.duration);
  return paint;
}

RowTextLayout rowTextLayout(const Rect& item, bool hasDuration, int32_t durationWidth) {
  RowTextLayout layout{};
  layout.hasDuration = hasDuration;
  if (!hasDuration) {
    // The row's own left edge is 0 in the list box's client area.
    layout.textOrigin = {0, item.top};
    return layout;
  }
  const int32_t width = std::max(durationWidth, 0);
  const int32_t durationLeft = std::max(item.right - width, item.left);
  layout.durationRect = {durationLeft, item.top, item.right, item.bottom};
  layout.textRect = {item.left, item.top, std::max(durationLeft - 1, item.left), item.bottom};
  return layout;
}

}  // namespace orva

#include <gtest/gtest.h>

#include "shell/rules/row_paint.h"

namespace orva {
namespace {

constexpr Colour kWindow = rgbColour(255, 255, 255);

RowPaintInput row(uint32_t action, uint32_t state, int32_t seconds = 83) {
  return {action, state, true, false, false, seconds, kWindow};
}

TEST(RowPaint, ColourValuesAreThoseOfAColorref) {
  EXPECT_EQ(kSelectionColour, 0x00800000u);
  EXPECT_EQ(rgbColour(0x12, 0x34, 0x56), 0x00563412u);
}

TEST(RowPaint, SelectionDecidesTheColoursOutsideADrag) {
  const RowPaint plain = rowPaint(row(kOdaDrawEntire, 0));
  EXPECT_EQ(plain.kind, RowPaintKind::Row);
  EXPECT_FALSE(plain.highlighted);
  EXPECT_EQ(plain.fill, kWindow);
  EXPECT_EQ(plain.text, kRowTextColour);

  const RowPaint selected = rowPaint(row(kOdaSelect, kOdsSelected));
  EXPECT_EQ(selected.kind, RowPaintKind::Row);
  EXPECT_TRUE(selected.highlighted);
  EXPECT_EQ(selected.fill, kSelectionColour);
  EXPECT_EQ(selected.text, kSelectionTextColour);
}

TEST(RowPaint, DuringADragOnlyTheMovingFlagHighlights) {
  RowPaintInput moving = row(kOdaDrawEntire, 0);
  moving.moveActive = true;
  moving.entryMoving = true;
  EXPECT_TRUE(rowPaint(moving).highlighted);
  EXPECT_EQ(rowPaint(moving).fill, kSelectionColour);

  // The row the block left keeps the list box's selection but shows another entry.
  RowPaintInput left = row(kOdaDrawEntire, kOdsSelected);
  left.moveActive = true;
  EXPECT_FALSE(rowPaint(left).highlighted);

  // The flag means nothing once the drag is over.
  RowPaintInput stale = row(kOdaDrawEntire, 0);
  stale.entryMoving = true;
  EXPECT_FALSE(rowPaint(stale).highlighted);
}

TEST(RowPaint, FocusRectangleOnlyOutsideADrag) {
  EXPECT_EQ(rowPaint(row(kOdaFocus, kOdsSelected)).kind, RowPaintKind::FocusRect);
  RowPaintInput dragging = row(kOdaFocus, kOdsSelected);
  dragging.moveActive = true;
  EXPECT_EQ(rowPaint(dragging).kind, RowPaintKind::Nothing);
  EXPECT_EQ(rowPaint(row(0, 0)).kind, RowPaintKind::Nothing);
}

TEST(RowPaint, RowWithoutAnEntryIsNotDrawn) {
  RowPaintInput missing = row(kOdaDrawEntire, kOdsSelected);
  missing.hasEntry = false;
  EXPECT_EQ(rowPaint(missing).kind, RowPaintKind::Nothing);
  missing.itemAction = kOdaFocus;
  EXPECT_EQ(rowPaint(missing).kind, RowPaintKind::Nothing);
}

TEST(RowPaint, DurationTextMinutesRunPastNinetyNine) {
  struct Case {
    int32_t seconds;
    const char* expected;
  };
  const Case cases[] = {
      {-1, ""},        {0, " 0:00"},     {59, " 0:59"},     {83, " 1:23"},
      {5999, "99:59"}, {6000, "100:00"}, {36061, "601:01"}, {INT32_MAX, "35791394:07"},
  };
  for (const Case& c : cases)
    EXPECT_STREQ(rowPaint(row(kOdaDrawEntire, 0, c.seconds)).duration, c.expected) << c.seconds;
}

TEST(RowTextLayout, DurationRightAlignedAndTextStopsOnePixelBefore) {
  const Rect item{0, 24, 200, 36};
  const RowTextLayout layout = rowTextLayout(item, true, 27);
  EXPECT_TRUE(layout.hasDuration);
  EXPECT_EQ(layout.durationRect, (Rect{173, 24, 200, 36}));
  EXPECT_EQ(layout.textRect, (Rect{0, 24, 172, 36}));
}

TEST(RowTextLayout, WithoutDurationTheTextStartsAtTheRowTop) {
  const RowTextLayout layout = rowTextLayout({0, 36, 200, 48}, false, 0);
  EXPECT_FALSE(layout.hasDuration);
  EXPECT_EQ(layout.textOrigin, (Point{0, 36}));
}

TEST(RowTextLayout, DurationWiderThanTheRowLeavesTheTextNoRoom) {
  const RowTextLayout layout = rowTextLayout({0, 0, 20, 12}, true, 40);
  EXPECT_EQ(layout.durationRect, (Rect{0, 0, 20, 12}));
  EXPECT_EQ(layout.textRect.width(), 0);
  EXPECT_EQ(rowTextLayout({0, 0, 20, 12}, true, 20).textRect.width(), 0);
}

}  // namespace
}  // namespace orva

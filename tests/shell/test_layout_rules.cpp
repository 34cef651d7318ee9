#include <gtest/gtest.h>

#include "shell/rules/layout_rules.h"

namespace orva {

void PrintTo(const Rect& r, std::ostream* os) {
  *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace {

// A thick frame of four pixels on every side.
constexpr int32_t kFrame = 8;

WindowFrame frameOf(int32_t width, int32_t height, int32_t frame = kFrame) {
  return {rectAt(100, 200, width, height), width - frame, height - frame};
}

struct Placement {
  MainChild child;
  Rect rect;
};

TEST(LayoutRules, ExpandedControlRowHugsTheBottomAndTheListFillsTheRest) {
  struct Case {
    int32_t width, height;
  };
  for (Case c : {Case{244, 100}, Case{400, 300}, Case{244, 56}}) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    const WindowFrame f = frameOf(c.width, c.height);
    const int32_t ch = f.clientHeight, sw = f.clientWidth - 218;
    const MainLayout l = layoutMainWindow(f, false);
    const Placement expected[] = {
        {kPreviousButton, rectAt(12, ch - 27, 25, 25)},
        {kPlayButton, rectAt(40, ch - 27, 25, 25)},
        {kPauseButton, rectAt(68, ch - 27, 25, 25)},
        {kStopButton, rectAt(96, ch - 27, 25, 25)},
        {kNextButton, rectAt(124, ch - 27, 25, 25)},
        {kListToggle, rectAt(152, ch - 27, 25, 12)},
        {kEqualizerToggle, rectAt(152, ch - 14, 25, 12)},
        {kLyricsToggle, rectAt(180, ch - 14, 25, 12)},
        {kModeButton, rectAt(180, ch - 27, 25, 12)},
        {kTitleDisplay, rectAt(208, ch - 27, sw, 16)},
        {kSeekBar, rectAt(208, ch - 9, sw, 9)},
        {kVolumeBar, rectAt(sw + 210, ch - 27, 6, 25)},
        {kPlaylistBox, rectAt(14, 6, f.clientWidth - 19, ch - 38)},
    };
    for (const Placement& p : expected) {
      EXPECT_TRUE(l.placed[p.child]) << p.child;
      EXPECT_EQ(l.child[p.child], p.rect) << p.child;
    }
    EXPECT_EQ(l.seekWidth, sw);
    EXPECT_EQ(l.playlist, ListVisibility::Shown);
    EXPECT_TRUE(l.rememberHeight);
    EXPECT_EQ(l.lastHeight, c.height);
    EXPECT_FALSE(l.resize);
  }
}

TEST(LayoutRules, TooShortForTheListSnapsToTheControlRow) {
  for (int32_t clientHeight : {40, 47, 29, 1}) {
    SCOPED_TRACE(clientHeight);
    const MainLayout l = layoutMainWindow(frameOf(300, clientHeight + kFrame), false);
    EXPECT_EQ(l.playlist, ListVisibility::Hidden);
    EXPECT_FALSE(l.rememberHeight);
    EXPECT_FALSE(l.placed[kPlaylistBox]);
    EXPECT_TRUE(l.placed[kNextButton]);
    ASSERT_TRUE(l.resize);
    EXPECT_EQ(l.window, rectAt(100, 200, 300, 29 + kFrame));
  }
  // No client height at all: nothing is placed, the window just grows back.
  const MainLayout zero = layoutMainWindow(frameOf(300, kFrame), false);
  EXPECT_EQ(zero.playlist, ListVisibility::Hidden);
  EXPECT_FALSE(zero.placed[kNextButton]);
  EXPECT_EQ(zero.window, rectAt(100, 200, 300, 29 + kFrame));
}

TEST(LayoutRules, TooNarrowWidensFirstAndPlacesNothing) {
  const MainLayout l = layoutMainWindow(frameOf(243, 0), false);
  ASSERT_TRUE(l.resize);
  EXPECT_EQ(l.window, rectAt(100, 200, 244, 0));
  EXPECT_EQ(l.playlist, ListVisibility::Unchanged);
  for (bool placed : l.placed) EXPECT_FALSE(placed);
}

TEST(LayoutRules, CompactModeLeavesTitleSeekAndVolume) {
  const MainLayout l = layoutMainWindow(frameOf(133, 37), true);
  EXPECT_FALSE(l.resize);
  EXPECT_EQ(l.seekWidth, 102);
  EXPECT_EQ(l.child[kTitleDisplay], rectAt(13, 2, 102, 16));
  EXPECT_EQ(l.child[kSeekBar], rectAt(13, 20, 102, 9));
  EXPECT_EQ(l.child[kVolumeBar], rectAt(119, 2, 6, 25));
  EXPECT_EQ(l.playlist, ListVisibility::Unchanged);
  EXPECT_FALSE(l.rememberHeight);
  for (MainChild c : {kPreviousButton, kModeButton, kPlaylistBox}) EXPECT_FALSE(l.placed[c]);

  // A wider frame must not push the volume bar out of the client area.
  const MainLayout wide = layoutMainWindow(frameOf(200, 45, 16), true);
  EXPECT_EQ(wide.child[kVolumeBar], rectAt(184 - 6, 2, 6, 25));

  const MainLayout narrow = layoutMainWindow(frameOf(132, 37), true);
  ASSERT_TRUE(narrow.resize);
  EXPECT_EQ(narrow.window, rectAt(100, 200, 133, 37));
  EXPECT_FALSE(narrow.placed[kTitleDisplay]);
}

TEST(LayoutRules, SizingHoldsTheLimitsAgainstTheDraggedEdge) {
  struct Case {
    Rect proposed;
    SizingEdges edges;
    bool compact;
    Rect expected;
  };
  const Case cases[] = {
      // expanded: at least 244 wide and the control row high; no maximum
      {{0, 0, 244, 37}, {false, false}, false, {0, 0, 244, 37}},
      {{0, 0, 243, 36}, {false, false}, false, {0, 0, 244, 37}},
      {{10, 20, 100, 30}, {true, true}, false, {-144, -7, 100, 30}},
      {{0, 0, 900, 700}, {true, true}, false, {0, 0, 900, 700}},
      // compact: at least 133 wide, exactly the control row high
      {{0, 0, 133, 37}, {false, false}, true, {0, 0, 133, 37}},
      {{0, 0, 132, 300}, {false, false}, true, {0, 0, 133, 37}},
      {{50, 0, 100, 300}, {true, true}, true, {-33, 263, 100, 300}},
      {{0, 0, 500, 10}, {false, false}, true, {0, 0, 500, 37}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(limitSizing(c.proposed, c.edges, kFrame, c.compact), c.expected)
        << c.proposed.left << "," << c.proposed.top << "," << c.proposed.right << "," << c.proposed.bottom;
  }
}

TEST(LayoutRules, SizingEdgesFromTheFrameCode) {
  const bool left[] = {false, true, false, false, true, false, false, true, false};
  const bool top[] = {false, false, false, true, true, true, false, false, false};
  for (uint32_t code = 1; code <= 8; ++code) {
    EXPECT_EQ(sizingEdges(code).left, left[code]) << code;
    EXPECT_EQ(sizingEdges(code).top, top[code]) << code;
  }
}

TEST(LayoutRules, ListToggleKeepsTheBottomEdge) {
  // Collapsed: expand to the last height the list was shown at.
  EXPECT_EQ(toggleListWindow(frameOf(300, 37), 100), (Rect{100, 137, 400, 237}));
  // Expanded: shrink to the control row.
  EXPECT_EQ(toggleListWindow(frameOf(300, 300), 100), (Rect{100, 463, 400, 500}));
  // A nonsense last height never turns the window inside out.
  EXPECT_EQ(toggleListWindow(frameOf(300, 37), -50), (Rect{100, 200, 400, 237}));
}

TEST(LayoutRules, CompactToggle) {
  EXPECT_FALSE(isCompactToggleSpot(0, 5));
  EXPECT_TRUE(isCompactToggleSpot(1, 5));
  EXPECT_TRUE(isCompactToggleSpot(12, 28));
  EXPECT_FALSE(isCompactToggleSpot(13, 5));
  EXPECT_FALSE(isCompactToggleSpot(5, 0));

  const CompactToggle enter = toggleCompactMode(frameOf(300, 300), false);
  EXPECT_TRUE(enter.compactMode);
  EXPECT_FALSE(enter.showButtonsAndList);
  ASSERT_TRUE(enter.resize);
  EXPECT_EQ(enter.window, rectAt(100, 200, 300, 37));
  EXPECT_FALSE(toggleCompactMode(frameOf(300, 37), false).resize);

  // Leaving keeps the control-row height; only the width grows.
  const CompactToggle leave = toggleCompactMode(frameOf(133, 37), true);
  EXPECT_FALSE(leave.compactMode);
  EXPECT_TRUE(leave.showButtonsAndList);
  ASSERT_TRUE(leave.resize);
  EXPECT_EQ(leave.window, rectAt(100, 200, 244, 37));
  EXPECT_FALSE(toggleCompactMode(frameOf(244, 37), true).resize);
}

}  // namespace
}  // namespace orva

#include <gtest/gtest.h>

#include "shell/rules/snapping.h"

namespace orva {

void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }

namespace {

constexpr Rect kDesktop{0, 0, 1280, 1024};
constexpr Rect kBottomTaskbar{0, 984, 1280, 1024};
constexpr Rect kTopTaskbar{0, 0, 1280, 40};
constexpr Rect kLeftTaskbar{0, 0, 60, 1024};
constexpr Rect kRightTaskbar{1220, 0, 1280, 1024};

SnapScreen screenWith(const Rect& taskbar) { return {kDesktop, true, taskbar}; }
constexpr SnapScreen kNoTaskbar{kDesktop, false, {}};

// A 300 x 100 window grabbed at its top-left corner, so the cursor is the
// proposed position.
Point drag(Point to, const SnapScreen& screen, bool docked = false, bool sticky = false) {
  return snapDraggedWindow(to, DragState{{0, 0}, 300, 100, docked, sticky}, screen);
}

TEST(Snapping, ScreenEdgesSnapOnlyWhenStrictlyCloserThanTen) {
  struct Case {
    int32_t x, expected;
  };
  for (Case c : {Case{7, 0}, Case{12, 12}, Case{9, 0}, Case{10, 10}, Case{-9, 0}, Case{-10, -10},
                 // the right edge: x + 300 against 1280
                 Case{971, 980}, Case{970, 970}, Case{989, 980}, Case{990, 990}}) {
    EXPECT_EQ(drag({c.x, 500}, kNoTaskbar).x, c.expected) << c.x;
  }
  EXPECT_EQ(drag({500, 9}, kNoTaskbar).y, 0);
  EXPECT_EQ(drag({500, 10}, kNoTaskbar).y, 10);
  EXPECT_EQ(drag({500, 915}, kNoTaskbar).y, 924);  // bottom 1015 snaps to 1024
  EXPECT_EQ(drag({500, 914}, kNoTaskbar).y, 914);
}

TEST(Snapping, TheTaskbarOnEachSide) {
  struct Case {
    const char* name;
    Rect taskbar;
    Point to;
    Point expected;
    bool docked = false;
  };
  const Case cases[] = {
      {"bottom: rests on it", kBottomTaskbar, {500, 880}, {500, 884}},
      {"bottom: docked windows rest on it", kBottomTaskbar, {500, 770}, {500, 774}, true},
      {"bottom: too far", kBottomTaskbar, {500, 874}, {500, 874}},
      {"top: hangs below it", kTopTaskbar, {500, 45}, {500, 40}},
      {"left: beside it", kLeftTaskbar, {65, 500}, {60, 500}},
      {"left: too far", kLeftTaskbar, {70, 500}, {70, 500}},
      {"right: beside it", kRightTaskbar, {915, 500}, {920, 500}},
      // the classic taskbar hangs two pixels over the screen's edges
      {"bottom, overhanging", {-2, 982, 1282, 1026}, {500, 880}, {500, 882}},
      {"left, overhanging", {-2, -2, 62, 1026}, {65, 500}, {62, 500}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(drag(c.to, screenWith(c.taskbar), c.docked), c.expected) << c.name;
  }
  // Without a taskbar window the same places do not snap.
  EXPECT_EQ(drag({500, 880}, kNoTaskbar), (Point{500, 880}));
  EXPECT_EQ(drag({65, 500}, kNoTaskbar), (Point{65, 500}));
}

// A taskbar's top edge is a resting place only for a taskbar at the bottom,
// and its bottom edge only for one at the top.
TEST(Snapping, TaskbarEdgesAwayFromTheirSideDoNotPullTheWindow) {
  // Bottom nearly at the top of the screen, with a taskbar whose top is 0.
  for (Rect taskbar : {kTopTaskbar, kLeftTaskbar, kRightTaskbar}) {
    EXPECT_EQ(drag({500, -95}, screenWith(taskbar)).y, -95);
  }
  // Top near the bottom of the screen, with a taskbar whose bottom is there.
  for (Rect taskbar : {kBottomTaskbar, kLeftTaskbar, kRightTaskbar}) {
    EXPECT_EQ(drag({500, 1018}, screenWith(taskbar)).y, 1018);
  }
}

TEST(Snapping, SomeOfTheWindowStaysOnScreenVertically) {
  EXPECT_EQ(drag({500, 5000}, kNoTaskbar).y, 1021);
  EXPECT_EQ(drag({500, -200}, kNoTaskbar).y, -97);
  EXPECT_EQ(drag({500, -97}, kNoTaskbar).y, -97);
  // Docked windows below count as part of the window.
  EXPECT_EQ(drag({500, -200}, kNoTaskbar, true).y, -200);
  EXPECT_EQ(drag({500, -300}, kNoTaskbar, true).y, -207);
}

TEST(Snapping, StickyModeOwnsTheHorizontalPlace) {
  for (int32_t x : {0, 7, 500, 1275}) {
    EXPECT_EQ(drag({x, 500}, screenWith(kRightTaskbar), false, true), (Point{983, 500})) << x;
  }
  EXPECT_EQ(drag({500, 5}, kNoTaskbar, false, true), (Point{983, 0}));
}

TEST(Snapping, GrabOffsetStaysInsideTheWindowAndItsDockedWindows) {
  const Rect window{100, 200, 400, 300};
  EXPECT_EQ(grabOffset({150, 250}, window, false), (Point{50, 50}));
  EXPECT_EQ(grabOffset({90, 190}, window, false), (Point{0, 0}));
  EXPECT_EQ(grabOffset({500, 380}, window, false), (Point{300, 100}));
  EXPECT_EQ(grabOffset({500, 380}, window, true), (Point{300, 180}));
  EXPECT_EQ(grabOffset({500, 500}, window, true), (Point{300, 210}));

  const DragState grabbed{{50, 50}, 300, 100, false, false};
  EXPECT_EQ(snapDraggedWindow({57, 500}, grabbed, kNoTaskbar), (Point{0, 450}));
}

TEST(Snapping, DockedWindowsHangFromTheBottomEdge) {
  const Rect window{100, 200, 400, 300};
  const DockedPlaces both = placeDockedWindows(window, true);
  EXPECT_EQ(both.equalizer, (Rect{100, 300, 280, 410}));
  EXPECT_EQ(both.lyrics, (Rect{280, 300, 400, 410}));
  EXPECT_EQ(placeDockedWindows(window, false).lyrics, (Rect{100, 300, 400, 410}));
  // A compact window narrower than the equalizer window.
  EXPECT_EQ(placeDockedWindows(Rect{100, 200, 233, 237}, true).lyrics, (Rect{280, 237, 280, 347}));
}

}  // namespace
}  // namespace orva

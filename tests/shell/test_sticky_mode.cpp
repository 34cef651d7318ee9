// Sticky mode against a 1280-pixel-wide screen.
#include <gtest/gtest.h>

#include "shell/rules/sticky_mode.h"

namespace orva {
namespace {

constexpr Rect kDesktop{0, 0, 1280, 1024};

StickyInput at(Rect window, Point cursor, bool docked = false, bool capture = false) {
  return StickyInput{window, kDesktop, cursor, docked, capture};
}

TEST(StickyModeTest, ThePointerAwayHidesAllButAStrip) {
  const StickyMove m = stickyStep(at({400, 300, 700, 400}, {10, 10}));
  EXPECT_TRUE(m.move);
  EXPECT_EQ(m.x, 1280 - 13);
  EXPECT_FALSE(stickyStep(at({1267, 300, 1567, 400}, {10, 10})).move) << "already hidden";
}

TEST(StickyModeTest, ThePointerOnTheStripSlidesThePlayerOut) {
  const Rect hidden{1267, 300, 1567, 400};
  const StickyMove m = stickyStep(at(hidden, {1275, 350}));
  EXPECT_TRUE(m.move);
  EXPECT_EQ(m.x, 1280 - 300 + 3);
  EXPECT_FALSE(stickyStep(at({983, 300, 1283, 400}, {1000, 350})).move) << "already out";
}

TEST(StickyModeTest, TheInsideEndsShortOfTheEdgesAndTakesInTheDockedWindows) {
  const Rect w{983, 300, 1283, 400};
  EXPECT_FALSE(stickyPointerInside(at(w, {984, 350}))) << "the left border";
  EXPECT_TRUE(stickyPointerInside(at(w, {985, 350})));
  EXPECT_FALSE(stickyPointerInside(at(w, {1000, 301})));
  EXPECT_TRUE(stickyPointerInside(at(w, {1000, 302})));
  EXPECT_FALSE(stickyPointerInside(at(w, {1000, 399})));
  EXPECT_FALSE(stickyPointerInside(at(w, {1000, 450})));
  EXPECT_TRUE(stickyPointerInside(at(w, {1000, 450}, true))) << "over the equalizer window";
  EXPECT_FALSE(stickyPointerInside(at(w, {1000, 509}, true)));
  EXPECT_TRUE(stickyPointerInside(at(w, {10, 10}, false, true))) << "a drag in progress keeps it out";
}

}  // namespace
}  // namespace orva

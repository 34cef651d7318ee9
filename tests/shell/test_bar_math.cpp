#include <gtest/gtest.h>

#include <climits>

#include "shell/rules/bar_math.h"

namespace orva {
namespace {

constexpr int32_t kStartWidth = 82;  // the seek bar before the first layout: 78 pixels of track

TEST(SeekBar, PointerWordsLoseTheBorderAndNeverGoNegative) {
  const struct {
    uint16_t word;
    int32_t x;
  } cases[] = {{0, 0}, {1, 0}, {2, 0}, {3, 1}, {82, 80}, {10001, 9999}, {10002, 0}, {65535, 0}};
  for (const auto& c : cases) EXPECT_EQ(seekPointerX(c.word), c.x) << c.word;
}

TEST(SeekBar, DragPixelStaysOnTheTrack) {
  EXPECT_EQ(seekDragPixel(5, kStartWidth), 5);
  EXPECT_EQ(seekDragPixel(78, kStartWidth), 78);
  EXPECT_EQ(seekDragPixel(200, kStartWidth), 78);
  EXPECT_EQ(seekDragPixel(-2, kStartWidth), 0);  // -1 would read as "not dragging"
  EXPECT_EQ(seekDragPixel(5, 3), 0);
}

TEST(SeekBar, PixelToSecondsEndsAtTheTrackEnd) {
  const struct {
    int32_t x, width, total, seconds;
  } cases[] = {
      {0, kStartWidth, 300, 0},
      {1, kStartWidth, 300, 3},  // 300 / 78, truncated
      {39, kStartWidth, 300, 150},
      {78, kStartWidth, 300, 300},   // the far right is the end of the track
      {500, kStartWidth, 300, 300},  // past it too
      {-7, kStartWidth, 300, 0},
      {78, kStartWidth, INT_MAX, INT_MAX},  // no overflow on long lengths
      {10, 4, 300, 0},                      // no room: nothing to divide by
      {10, 0, 300, 0},
      {10, kStartWidth, 0, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(seekSecondsAt(c.x, c.width, c.total), c.seconds) << c.x << " " << c.width;
}

TEST(SeekBar, ThumbFollowsThePositionAndStaysOnTheBar) {
  const struct {
    int64_t positionMs;
    int32_t width, total, x;
  } cases[] = {
      {0, kStartWidth, 300, 0},
      {150000, kStartWidth, 300, 38},  // 150000 * 77 / 300000 = 38.5
      {300000, kStartWidth, 300, 77},
      {400000, kStartWidth, 300, 77},  // a stated length shorter than the stream
      {36000000, 1000, 36000, 995},    // ten hours on a wide bar: the product needs 64 bits
      {1000, kStartWidth, 0, 0},       // no length: no thumb travel
      {1000, 5, 300, 0},               // no room
      {-1000, kStartWidth, 300, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(seekThumbX(c.positionMs, c.width, c.total), c.x) << c.positionMs;
}

TEST(SeekBar, TitleShowsTheDraggedTimeWhileDragging) {
  EXPECT_EQ(shownPositionSeconds(12, -1, kStartWidth, 300), 12);
  EXPECT_EQ(shownPositionSeconds(12, 39, kStartWidth, 300), 150);
  EXPECT_EQ(shownPositionSeconds(12, 0, kStartWidth, 300), 0);
}

TEST(VolumeBar, ClicksMapTopToFullAndBottomToSilent) {
  const struct {
    uint16_t word;
    int32_t volume;
  } cases[] = {
      {2, 100}, {0, 100}, {65535, 100},  // at or above the top
      {12, 52},                          // (21 - 10) * 100 / 21
      {22, 4},  {23, 0},  {24, 0},      {400, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(volumeAtY(volumePointerY(c.word)), c.volume) << c.word;
}

TEST(VolumeBar, KnobTopForALevel) {
  const struct { int32_t volume, y; } cases[] = {{100, 0}, {0, 21}, {50, 11}, {99, 1}, {1, 21}, {150, 0}, {-5, 21}};
  for (const auto& c : cases) EXPECT_EQ(volumeKnobY(c.volume), c.y) << c.volume;
}

TEST(VolumeBar, StepsStayInRange) {
  EXPECT_EQ(volumeStepUp(0), 10);
  EXPECT_EQ(volumeStepUp(95), 100);
  EXPECT_EQ(volumeStepUp(100), 100);
  EXPECT_EQ(volumeStepDown(100), 90);
  EXPECT_EQ(volumeStepDown(10), 0);
  EXPECT_EQ(volumeStepDown(5), 0);
}

TEST(MiniSeekSlider, ThreeHundredStepsOverTheTrack) {
  EXPECT_EQ(miniSeekSeconds(150, 300), 150) << "the middle of a 300-second track";
  EXPECT_EQ(miniSeekSeconds(300, 61), 61);
  EXPECT_EQ(miniSeekSeconds(400, 61), 61);
  EXPECT_EQ(miniSeekSeconds(10, 0), 0);
  EXPECT_EQ(miniSeekPosition(30500, 61), 150);
  EXPECT_EQ(miniSeekPosition(90000, 61), 300) << "past the stated length stays at the end";
  EXPECT_EQ(miniSeekPosition(5000, 0), 0);
}

}  // namespace
}  // namespace orva

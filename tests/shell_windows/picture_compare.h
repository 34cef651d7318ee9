// Pictures of windows for the window tests: a copy of an area of the screen
// (Wine draws every window into the X server, so the screen holds exactly
// what a user sees), 24-bit BMP files for the committed references, and a
// comparison that forgives small colour differences in a few pixels.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orva::test {

struct Picture {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<COLORREF> pixels;  // rows top to bottom

  bool empty() const { return pixels.empty(); }
  COLORREF at(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  // The part of the picture inside `area` (clipped to the picture).
  Picture crop(const RECT& area) const;
};

// The screen's pixels inside `screenArea`.
Picture captureScreen(const RECT& screenArea);
// What a window looks like on screen, frame included.
Picture captureWindow(HWND window);

// What `paint` draws into a `width` x `height` memory bitmap that starts out
// filled with `background`.
Picture renderInMemory(int32_t width, int32_t height, COLORREF background, const std::function<void(HDC)>& paint);

// 24-bit uncompressed BMP, the format any viewer opens.
bool writeBmp(const std::string& path, const Picture& picture);
// An empty picture when the file is missing or not a 24-bit BMP.
Picture readBmp(const std::string& path);

struct PictureDifference {
  bool sameSize = false;
  int32_t differingPixels = 0;  // pixels with a channel beyond the tolerance
  int32_t largestChannelDifference = 0;
};

PictureDifference comparePictures(const Picture& expected, const Picture& actual, int32_t channelTolerance);

// The smallest rectangle holding every pixel darker than `threshold` (sum of
// the three channels) inside `area`; empty when there is none.
RECT darkPixelBounds(const Picture& picture, const RECT& area, int32_t threshold);

// `actual` against the committed reference pictures/NAME.bmp. With
// ORVA_UPDATE_PICTURES=1 the reference is written instead; on a mismatch the
// picture taken is written beside the test program for a person to look at.
::testing::AssertionResult matchesReference(const std::string& name, const Picture& actual);

}  // namespace orva::test

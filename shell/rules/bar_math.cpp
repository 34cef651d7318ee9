// Seek and volume bar arithmetic; see bar_math.h.
#include "shell/rules/bar_math.h"

#include <algorithm>

namespace orva {

namespace {

constexpr int32_t kBorder = 2;
// A pointer word this far out is the cursor left of or above a captured bar.
constexpr int32_t kOutsideCoordinate = 10000;
constexpr int32_t kMaxVolume = 100;

int32_t pointerCoordinate(uint16_t mouseWord) {
  int32_t v = static_cast<int32_t>(mouseWord) - kBorder;
  return (v < 0 || v >= kOutsideCoordinate) ? 0 : v;
}

// Pixels of the seek bar that map onto the track: 0 .. seekWidth - 4.
int32_t seekSpan(int32_t seekWidth) { return seekWidth - 4; }

}  // namespace

int32_t seekPointerX(uint16_t mouseWord) { return pointerCoordinate(mouseWord); }

int32_t seekDragPixel(int32_t x, int32_t seekWidth) { return std::max(0, std::min(x, seekSpan(seekWidth))); }

int32_t seekSecondsAt(int32_t x, int32_t seekWidth, int32_t totalSeconds) {
  const int32_t span = seekSpan(seekWidth);
  if (span <= 0 || totalSeconds <= 0) return 0;
  const int64_t clamped = std::clamp(x, 0, span);
  return static_cast<int32_t>(clamped * totalSeconds / span);
}

int32_t seekThumbX(int64_t positionMs, int32_t seekWidth, int32_t totalSeconds) {
  const int32_t travel = seekWidth - kSeekThumbWidth;
  if (travel <= 0 || totalSeconds <= 0 || positionMs <= 0) return 0;
  const int64_t x = positionMs * travel / (static_cast<int64_t>(totalSeconds) * 1000);
  return static_cast<int32_t>(std::min<int64_t>(x, travel));
}

int32_t shownPositionSeconds(int32_t positionSeconds, int32_t dragX, int32_t seekWidth, int32_t totalSeconds) {
  if (dragX < 0) return positionSeconds;
  return seekSecondsAt(dragX, seekWidth, totalSeconds);
}

int32_t volumePointerY(uint16_t mouseWord) { return std::min(pointerCoordinate(mouseWord), kVolumeTravel); }

int32_t volumeAtY(int32_t y) {
  const int32_t clamped = std::clamp(y, 0, kVolumeTravel);
  return (kVolumeTravel - clamped) * kMaxVolume / kVolumeTravel;
}

int32_t volumeKnobY(int32_t volume) {
  const int32_t clamped = std::clamp(volume, 0, kMaxVolume);
  return kVolumeTravel - clamped * kVolumeTravel / kMaxVolume;
}

int32_t volumeStepUp(int32_t volume) { return std::clamp(volume + kVolumeStep, 0, kMaxVolume); }

int32_t volumeStepDown(int32_t volume) { return std::clamp(volume - kVolumeStep, 0, kMaxVolume); }

int32_t miniSeekPosition(int64_t positionMs, int32_t totalSeconds) {
  if (totalSeconds <= 0 || positionMs <= 0) return 0;
  const int64_t at = positionMs * kMiniSeekRange / (static_cast<int64_t>(totalSeconds) * 1000);
  return static_cast<int32_t>(std::min<int64_t>(at, kMiniSeekRange));
}

int32_t miniSeekSeconds(int32_t sliderPosition, int32_t totalSeconds) {
  if (totalSeconds <= 0) return 0;
  const int64_t at = std::clamp(sliderPosition, 0, kMiniSeekRange);
  return static_cast<int32_t>(at * totalSeconds / kMiniSeekRange);
}

}  // namespace orva

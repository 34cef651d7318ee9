// Pixels and values of the seek bar and the volume bar. The seek bar is
// `seekWidth` pixels wide with a 5-pixel thumb; the volume bar is 6 x 25
// with a 4-pixel knob travelling 21 pixels. Mouse coordinates arrive as the
// 16-bit words of a mouse message, so a cursor left of or above a bar that
// holds the capture shows up as a large number.
#pragma once

#include <cstdint>

namespace orva {

inline constexpr int32_t kSeekBarHeight = 9;
inline constexpr int32_t kSeekThumbWidth = 5;
inline constexpr int32_t kVolumeBarWidth = 6;
inline constexpr int32_t kVolumeBarHeight = 25;
inline constexpr int32_t kVolumeKnobHeight = 4;
inline constexpr int32_t kVolumeTravel = 21;  // knob top at 0 for 100, at 21 for 0
inline constexpr int32_t kVolumeStep = 10;

// --- seek bar ---

// The x a mouse word stands for: two pixels of border off, never below 0
// (a cursor left of the bar counts as its start).
int32_t seekPointerX(uint16_t mouseWord);
// Where the thumb sits while dragged at `x`: not past the bar's last seek
// pixel (seekWidth - 4), not before 0.
int32_t seekDragPixel(int32_t x, int32_t seekWidth);
// The second that pixel `x` stands for: x * totalSeconds / (seekWidth - 4),
// with x kept inside 0 .. seekWidth - 4, so the far right is the end of the
// track. 0 when the bar has no room (seekWidth of 4 or less).
int32_t seekSecondsAt(int32_t x, int32_t seekWidth, int32_t totalSeconds);
// The thumb's left edge for a play position: positionMs * (seekWidth - 5) /
// (totalSeconds * 1000), kept on the bar when the position runs past the
// stated length. 0 without a length or without room.
int32_t seekThumbX(int64_t positionMs, int32_t seekWidth, int32_t totalSeconds);
// The position the title line shows: the dragged time while the thumb is
// dragged (dragX not -1), else the play position.
int32_t shownPositionSeconds(int32_t positionSeconds, int32_t dragX, int32_t seekWidth, int32_t totalSeconds);

// --- volume bar ---

// The y a mouse word stands for: two pixels of border off, kept on the
// knob's travel 0 .. 21 (a cursor above the bar counts as its top).
int32_t volumePointerY(uint16_t mouseWord);
// The level for knob position `y`: (21 - y) * 100 / 21; 100 at the top, 0 at
// the bottom.
int32_t volumeAtY(int32_t y);
// The knob's top for a level: 21 - volume * 21 / 100, level kept in 0 .. 100.
int32_t volumeKnobY(int32_t volume);
// One step of the volume keys, per channel, kept in 0 .. 100.
int32_t volumeStepUp(int32_t volume);
int32_t volumeStepDown(int32_t volume);

// --- the mini window's sliders ---

// The seek slider runs 0 .. 300 over the track.
inline constexpr int32_t kMiniSeekRange = 300;
// The slider position for a play position; 0 without a length.
int32_t miniSeekPosition(int64_t positionMs, int32_t totalSeconds);
// The second a slider position stands for.
int32_t miniSeekSeconds(int32_t sliderPosition, int32_t totalSeconds);

}  // namespace orva

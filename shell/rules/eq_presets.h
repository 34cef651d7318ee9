// The equalizer's sliders and its thirty named presets. A slider runs from 0
// (top, +12 dB) to 240 (bottom, -12 dB); a band value is 120 minus the
// position, in tenths of a decibel. A preset gives each band a code from 0
// to 63, 31 being flat and smaller codes boosting.
#pragma once

#include <cstdint>

#include "shell/rules/settings.h"

namespace orva {

inline constexpr int32_t kEqualizerSliderMax = 240;
inline constexpr int32_t kEqualizerSliderCentre = 120;
inline constexpr int32_t kEqualizerSliderTickStep = 10;
inline constexpr int32_t kEqualizerPresetCount = 30;

struct EqualizerPreset {
  const char* name;
  uint8_t codes[kEqualizerBands];  // band 1 (lowest) first
};

// Preset `index` (0..29) in menu order.
const EqualizerPreset& equalizerPreset(int32_t index);

// trunc(120 - (31 - code) x 3.125): code 0 gives 23, 31 the centre, 63 gives 220.
int32_t presetSliderPosition(int32_t code);
inline constexpr int32_t bandValueAt(int32_t position) { return kEqualizerSliderCentre - position; }
// A stored band value beyond +-12 dB puts the slider at its end.
inline constexpr int32_t sliderPositionFor(int32_t bandValue) {
  const int32_t limit = kEqualizerSliderMax - kEqualizerSliderCentre;
  const int32_t kept = bandValue > limit ? limit : (bandValue < -limit ? -limit : bandValue);
  return kEqualizerSliderCentre - kept;
}

}  // namespace orva

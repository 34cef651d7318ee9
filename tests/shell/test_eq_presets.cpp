#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "shell/rules/eq_presets.h"

namespace orva {
namespace {

int32_t presetBandValue(int32_t code) { return bandValueAt(presetSliderPosition(code)); }

TEST(EqualizerPresets, CodesBecomeBandValuesByTruncation) {
  EXPECT_EQ(presetBandValue(0), 97);  // 23.125 -> 23, not 24
  EXPECT_EQ(presetBandValue(16), 47);
  EXPECT_EQ(presetBandValue(31), 0);
  EXPECT_EQ(presetBandValue(48), -53);
  EXPECT_EQ(presetBandValue(63), -100);
  EXPECT_EQ(presetSliderPosition(0), 23);
  EXPECT_EQ(presetSliderPosition(63), 220);
  for (int32_t code = 1; code <= 63; ++code) {
    EXPECT_GT(presetSliderPosition(code), presetSliderPosition(code - 1)) << code;
  }
}

TEST(EqualizerPresets, SliderPositionsAndBandValuesMirrorAroundTheCentre) {
  EXPECT_EQ(bandValueAt(0), 120);
  EXPECT_EQ(bandValueAt(kEqualizerSliderMax), -120);
  EXPECT_EQ(sliderPositionFor(0), kEqualizerSliderCentre);
  EXPECT_EQ(sliderPositionFor(-47), 167);
  // Values from a hand-edited settings file end at the slider's ends.
  EXPECT_EQ(sliderPositionFor(130), 0);
  EXPECT_EQ(sliderPositionFor(-121), kEqualizerSliderMax);
  EXPECT_EQ(sliderPositionFor(INT32_MIN), kEqualizerSliderMax);
  EXPECT_EQ(sliderPositionFor(INT32_MAX), 0);
}

TEST(EqualizerPresets, TableHoldsThirtyNamedPresetsOfValidCodes) {
  std::set<std::string> names;
  for (int32_t i = 0; i < kEqualizerPresetCount; ++i) {
    const EqualizerPreset& preset = equalizerPreset(i);
    names.insert(preset.name);
    for (uint8_t code : preset.codes) EXPECT_LE(code, 63) << preset.name;
  }
  EXPECT_EQ(names.size(), 30u);
  EXPECT_STREQ(equalizerPreset(0).name, "Ballade");
  EXPECT_STREQ(equalizerPreset(12).name, "Laptop speakers/headphones");
  EXPECT_STREQ(equalizerPreset(29).name, "Techno");
}

TEST(EqualizerPresets, RowsGiveTheirBandValues) {
  const struct {
    int32_t index;
    const char* name;
    int32_t values[kEqualizerBands];
  } rows[] = {
      {7, "Full Bass", {47, 47, 47, 29, 7, -25, -46, -56, -59, -59}},
      {9, "Full Treble", {-53, -53, -53, -25, 13, 54, 79, 79, 79, 85}},
      {15, "Morning", {-100, -62, -28, -28, 0, 0, 0, 0, 0, 0}},
      {27, "Stadium", {54, 50, 22, 25, 0, -65, -34, -31, 0, 29}},
  };
  for (const auto& row : rows) {
    const EqualizerPreset& preset = equalizerPreset(row.index);
    EXPECT_STREQ(preset.name, row.name);
    for (int b = 0; b < kEqualizerBands; ++b) {
      EXPECT_EQ(presetBandValue(preset.codes[b]), row.values[b]) << row.name << " band " << b + 1;
    }
  }
}

}  // namespace
}  // namespace orva

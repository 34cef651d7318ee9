// The preset table and the code-to-slider rule.
#include "shell/rules/eq_presets.h"

namespace orva {

namespace {

// Codes per band, 31 flat; the menu lists the presets in this order.
constexpr EqualizerPreset kPresets[kEqualizerPresetCount] = {
    {"Ballade", {31, 31, 31, 31, 31, 22, 31, 44, 44, 55}},
    {"Bass focused", {12, 24, 34, 39, 41, 43, 40, 40, 36, 31}},
    {"Bass/treble focused", {17, 25, 29, 31, 36, 29, 24, 16, 11, 8}},
    {"Church", {31, 31, 31, 31, 31, 23, 23, 23, 31, 31}},
    {"Classical", {31, 31, 31, 31, 31, 31, 31, 43, 43, 56}},
    {"Club", {31, 31, 31, 22, 22, 22, 31, 31, 31, 31}},
    {"Dance", {14, 18, 25, 31, 31, 39, 40, 40, 31, 31}},
    {"Full Bass", {16, 16, 16, 22, 29, 39, 46, 49, 50, 50}},
    {"Full Bass and Treble", {20, 22, 31, 44, 40, 29, 18, 14, 12, 12}},
    {"Full Treble", {48, 48, 48, 39, 27, 14, 6, 6, 6, 4}},
    {"Game", {8, 13, 23, 31, 31, 40, 40, 40, 41, 41}},
    {"Jazz", {11, 17, 23, 31, 31, 40, 31, 31, 20, 8}},
    {"Laptop speakers/headphones", {24, 14, 23, 38, 36, 29, 24, 16, 11, 8}},
    {"Large", {15, 15, 22, 22, 31, 40, 40, 40, 31, 31}},
    {"Live", {40, 31, 25, 23, 22, 22, 25, 27, 27, 28}},
    {"Morning", {63, 51, 40, 40, 31, 31, 31, 31, 31, 31}},
    {"Movie", {8, 13, 23, 31, 31, 22, 22, 23, 31, 54}},
    {"Night", {16, 23, 31, 43, 43, 53, 53, 63, 63, 63}},
    {"Oldies", {63, 53, 47, 39, 31, 21, 21, 21, 41, 63}},
    {"Party", {23, 23, 31, 31, 31, 31, 31, 22, 23, 23}},
    {"Pop", {26, 16, 31, 42, 31, 16, 24, 24, 31, 31}},
    {"Reggae", {31, 31, 31, 39, 31, 22, 22, 22, 31, 31}},
    {"Rock", {11, 11, 21, 21, 31, 40, 31, 17, 17, 6}},
    {"Ska", {36, 40, 39, 33, 25, 22, 17, 16, 14, 16}},
    {"Soft", {24, 29, 34, 36, 34, 25, 18, 16, 14, 12}},
    {"Soft Rock", {25, 25, 28, 33, 39, 41, 38, 33, 27, 17}},
    {"Soul", {31, 31, 31, 31, 31, 22, 22, 14, 22, 22}},
    {"Stadium", {14, 15, 24, 23, 31, 52, 42, 41, 31, 22}},
    {"Studio", {23, 24, 31, 31, 31, 21, 31, 41, 31, 31}},
    {"Techno", {19, 22, 31, 41, 40, 31, 19, 16, 16, 17}},
};

}  // namespace

const EqualizerPreset& equalizerPreset(int32_t index) {
  if (index < 0 || index >= kEqualizerPresetCount) index = 0;
  return kPresets[index];
}

int32_t presetSliderPosition(int32_t code) {
  // 3.125 is 25/8, so the product is exact and the cast truncates toward zero.
  return static_cast<int32_t>(kEqualizerSliderCentre - (31 - code) * 3.125);
}

}  // namespace orva

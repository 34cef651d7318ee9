// The choice table: for each channel count and sample rate, the index of the
// format in the order the codec lists them (stereo 44100 Hz takes the fourth).
#include "engine/encoder_format_choice.h"

namespace orva::encoder {
namespace {

constexpr uint32_t kRates[] = {48000, 44100, 32000, 24000, 22050, 16000, 12000, 11025, 8000};
constexpr int32_t kStereoIndex[] = {0, 3, 6, 8, 11, 14, 16, 20, 24};
constexpr int32_t kMonoIndex[] = {28, 31, 34, 37, 39, 41, 46, 50, 54};

}  // namespace

int32_t chooseLayer3Format(uint32_t channels, uint32_t samplesPerSecond) {
  if (channels != 1 && channels != 2) return -1;
  for (int i = 0; i < static_cast<int>(sizeof kRates / sizeof kRates[0]); ++i) {
    if (kRates[i] == samplesPerSecond) return channels == 2 ? kStereoIndex[i] : kMonoIndex[i];
  }
  return -1;
}

}  // namespace orva::encoder

#include <gtest/gtest.h>

#include "decoder/units.h"

namespace orva::units {
namespace {

TEST(Units, BytesToSamplesDividesLargeCountsFirst) {
  EXPECT_EQ(bytesToSamples(4608, 16, 2), 1152);
  // Below 2^28 the multiplication comes first: 3 bytes of 16-bit mono are 1.
  EXPECT_EQ(bytesToSamples(3, 16, 1), 1);
  // From 2^28 on the division comes first, which truncates differently.
  const int64_t large = kLargeByteCount + 31;
  EXPECT_EQ(bytesToSamples(large, 16, 2), large / 16 / 2 * 8);
  EXPECT_NE(bytesToSamples(large, 16, 2), large * 8 / 16 / 2);
  EXPECT_EQ(bytesToSamples(kLargeByteCount - 1, 16, 2), (kLargeByteCount - 1) * 8 / 32);
}

TEST(Units, ZeroOrNegativeFormatGivesZero) {
  EXPECT_EQ(bytesToSamples(1000, 0, 2), 0);
  EXPECT_EQ(bytesToSamples(1000, 16, 0), 0);
  EXPECT_EQ(samplesToSeconds(44100, 0), 0);
  EXPECT_EQ(samplesToSeconds(88199, 44100), 1);
  EXPECT_EQ(samplesToBytes(1152, 16, 2), 4608);
}

TEST(Units, FrameTimeIsTruncatedAndScaledByVersion) {
  EXPECT_EQ(frameTimeMs(1, 3, 0), 26);
  EXPECT_EQ(frameTimeMs(1, 1, 0), 8);
  EXPECT_EQ(frameTimeMs(1, 2, 2), 36);
  EXPECT_EQ(frameTimeMs(2, 3, 0), 26);  // 576 samples at 22050 Hz
  EXPECT_EQ(frameTimeMs(2, 2, 1), 48);  // 1152 samples at 24000 Hz
  EXPECT_EQ(frameTimeMs(2, 1, 0), 17);  // 384 samples at 22050 Hz
  EXPECT_EQ(frameTimeMs(3, 3, 2), 72);  // 576 samples at 8000 Hz
  EXPECT_EQ(frameTimeMs(0, 3, 0), 0);
  EXPECT_EQ(frameTimeMs(1, 3, 3), 0);
  EXPECT_EQ(nominalSeconds(1, 3, 0, 1000), 26);
  EXPECT_EQ(nominalSeconds(1, 3, 0, 0xFFFFFFFFu), int64_t{26} * 0xFFFFFFFFu / 1000);
}

}  // namespace
}  // namespace orva::units

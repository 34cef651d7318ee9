// The analyser: the transform's levels and windows, and the readers on the
// output queue with a device clock moved by hand, so that what is analysed
// can be checked against what the device is playing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "output/analyser.h"
#include "output/fft_analyser.h"
#include "output/output_queue.h"
#include "output/virtual_device.h"

namespace orva {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A sine of `amplitude` that completes `cycles` periods in 512 samples, so
// that it falls on band `cycles` exactly.
int16_t bandSine(int32_t i, int32_t cycles, double amplitude = 32767.0) {
  return static_cast<int16_t>(std::lround(amplitude * std::sin(2.0 * kPi * cycles * i / 512.0)));
}

int32_t loudestBand(const int32_t* levels) {
  return static_cast<int32_t>(std::max_element(levels, levels + 256) - levels);
}

TEST(FftAnalyser, WindowsAndLevelsAreTheTransformsOwn) {
  const FftAnalyser hann(512, AnalyserWindow::Hann), hamming(512, AnalyserWindow::Hamming),
      blackman(512, AnalyserWindow::Blackman), flat(512, AnalyserWindow::Rectangular);
  EXPECT_DOUBLE_EQ(hann.windowCoefficient(0), 0.0);
  EXPECT_DOUBLE_EQ(hann.windowCoefficient(128), 0.5);
  EXPECT_DOUBLE_EQ(hann.windowCoefficient(256), 1.0);
  EXPECT_DOUBLE_EQ(hamming.windowCoefficient(0), 0.08);
  EXPECT_NEAR(hamming.windowCoefficient(128), 0.54, 1e-12);
  EXPECT_NEAR(blackman.windowCoefficient(0), 0.0, 1e-12);
  EXPECT_NEAR(blackman.windowCoefficient(128), 0.34, 1e-12);
  EXPECT_NEAR(blackman.windowCoefficient(256), 1.0, 1e-12);
  EXPECT_DOUBLE_EQ(flat.windowCoefficient(300), 1.0);

  // A full-scale sine on band 40: 20 log10(32767 * 256 / sqrt(512)) = 111.4
  // through the flat window, 6 dB less through Hann; the other bands hold
  // only rounding noise.
  int32_t levels[256];
  FftAnalyser rectangular(512, AnalyserWindow::Rectangular), hannOwn(512, AnalyserWindow::Hann);
  for (int32_t i = 0; i < 512; ++i) rectangular.setSample(i, bandSine(i, 40));
  rectangular.transform(levels);
  EXPECT_EQ(loudestBand(levels), 40);
  EXPECT_EQ(levels[40], 111);
  EXPECT_LT(levels[100], 0);
  for (int32_t i = 0; i < 512; ++i) hannOwn.setSample(i, bandSine(i, 40));
  hannOwn.transform(levels);
  EXPECT_EQ(levels[40], 105);
  EXPECT_EQ(levels[39], 99);  // the window's side lobe at half the peak

  // Silence reads as the floor everywhere, never as a huge negative value.
  for (int32_t i = 0; i < 512; ++i) rectangular.setSample(i, 0);
  rectangular.transform(levels);
  EXPECT_TRUE(std::all_of(levels, levels + 256, [](int32_t v) { return v == kSilentBandLevel; }));
}

// The queue on a device whose clock the test moves: blocks of 256 stereo
// frames, a sine on band 16 for the first 40 blocks and on band 64 after.
class AnalyserTest : public ::testing::Test {
 protected:
  static constexpr int32_t kFrames = 256;
  static constexpr int32_t kSwitchBlock = 40;

  void SetUp() override {
    outputInit();
    device_.setClock(VirtualClock::Manual);
    outputUseDevice(&device_);
    outputSetStreamPosition(int64_t{1} << 30, 0);
    analyserSetMode(0);
  }
  void TearDown() override {
    device_.advance(int64_t{1} << 40);
    outputReset();
    outputClose();
    outputUseDevice(nullptr);
    outputInit();
    analyserSetMode(1);
  }

  void open(int32_t channels, int32_t bits) {
    channels_ = channels;
    bits_ = bits;
    ASSERT_EQ(outputOpen(OutputFormat{channels, bits, 44100, kFrames * channels * bits / 8}), 1);
  }
  // Submits block `n`; the tests keep fewer than 32 blocks at the device, so
  // the writer never waits for a header.
  void submitBlock(int32_t n) {
    std::vector<uint8_t> pcm;
    for (int32_t i = 0; i < kFrames; ++i) {
      const int16_t left = bandSine(n * kFrames + i, n < kSwitchBlock ? 16 : 64, 20000.0);
      for (int32_t c = 0; c < channels_; ++c) {
        const int16_t v = c == 0 ? left : static_cast<int16_t>(left / 2);
        if (bits_ == 8) {
          pcm.push_back(static_cast<uint8_t>(v / 256 + 128));
        } else {
          pcm.push_back(static_cast<uint8_t>(v & 0xFF));
          pcm.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
        }
      }
    }
    outputAppend(pcm.data(), static_cast<int32_t>(pcm.size()));
  }
  void submitBlocks(int32_t from, int32_t to) {
    for (int32_t n = from; n < to; ++n) submitBlock(n);
  }
  // Moves the device to `frame` (it only moves forward).
  void playTo(int64_t frame) { device_.advance(frame - outputGetPosition()); }
  int32_t spectrum() { return analyserGetSpectrum(left_, right_); }
  int32_t waveform() { return analyserGetWaveform(left_, right_); }

  VirtualDevice device_;
  int32_t channels_ = 2, bits_ = 16;
  int32_t left_[256], right_[256];
};

TEST_F(AnalyserTest, TheSpectrumFollowsTheDevicesPositionBeforeAndAfterTheRingWraps) {
  open(2, 16);
  submitBlocks(0, 20);
  // Before 512 frames have played there is nothing to analyse.
  std::fill(left_, left_ + 256, 7);
  EXPECT_EQ(spectrum(), 0);
  EXPECT_TRUE(std::all_of(left_, left_ + 256, [](int32_t v) { return v == 0; }));
  playTo(511);
  EXPECT_EQ(spectrum(), 0);

  playTo(512);
  EXPECT_EQ(spectrum(), 512);
  EXPECT_EQ(loudestBand(left_), 16);
  EXPECT_EQ(loudestBand(right_), 16);
  EXPECT_EQ(left_[16] - right_[16], 6);  // the right side is half as loud

  // The decoder is far ahead (band 64 is submitted), but the device still
  // plays band 16 until frame 40 * 256.
  submitBlocks(20, 32);
  playTo(20 * kFrames);
  submitBlocks(32, 50);
  playTo(kSwitchBlock * kFrames - 512);
  ASSERT_EQ(spectrum(), 512);
  EXPECT_EQ(loudestBand(left_), 16);
  playTo(kSwitchBlock * kFrames);
  ASSERT_EQ(spectrum(), 512);
  EXPECT_EQ(loudestBand(left_), 64);

  // Past 80 blocks the ring has wrapped: the same rule from its oldest block.
  for (int32_t n = 50; n < 200; ++n) {
    submitBlock(n);
    playTo(int64_t{n - 16} * kFrames);
  }
  ASSERT_EQ(spectrum(), 512);
  EXPECT_EQ(loudestBand(left_), 64);
  EXPECT_GT(left_[64], 100);
}

TEST_F(AnalyserTest, MonoAndEightBitStreamsAndTheWaveform) {
  open(1, 8);
  std::fill(left_, left_ + 256, 7);
  EXPECT_EQ(waveform(), 0);  // position 0: the arrays are left alone
  EXPECT_EQ(left_[0], 7);
  submitBlocks(0, 20);
  playTo(1024);
  std::fill(right_, right_ + 256, 7);
  ASSERT_EQ(spectrum(), 512);
  EXPECT_EQ(loudestBand(left_), 16);
  EXPECT_GT(left_[16], 90);  // 8-bit samples read as samples, not as words
  EXPECT_TRUE(std::all_of(right_, right_ + 256, [](int32_t v) { return v == 0; }));

  ASSERT_EQ(waveform(), 256);
  // Frame 1024 on: the sine at 20000 / 32767 of full scale, cut to 8 bits.
  for (int32_t i = 0; i < 256; i += 37) {
    const int32_t expected = (bandSine(1024 + i, 16, 20000.0) / 256) * 256 * 100 / 32767;
    EXPECT_EQ(left_[i], expected) << i;
  }
  EXPECT_TRUE(std::all_of(right_, right_ + 256, [](int32_t v) { return v == 0; }));
}

}  // namespace
}  // namespace orva

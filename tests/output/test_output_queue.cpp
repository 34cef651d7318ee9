// The output queue on the virtual device: blocks, levels and ramps, cue
// factor, rate, the free-header wait, close and reset.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "output/levels.h"
#include "output/output_queue.h"
#include "output/virtual_device.h"

namespace orva {
namespace {

constexpr int32_t kBlock = 4096;  // 1024 stereo 16-bit samples

struct Capture {
  std::mutex mutex;
  std::vector<std::vector<uint8_t>> blocks;
  static void tap(void* context, const uint8_t* data, int32_t bytes) {
    auto* self = static_cast<Capture*>(context);
    std::lock_guard<std::mutex> lock(self->mutex);
    self->blocks.emplace_back(data, data + bytes);
  }
};

int16_t sampleAt(const std::vector<uint8_t>& block, size_t index) {
  return static_cast<int16_t>(static_cast<uint16_t>(block[2 * index] | (block[2 * index + 1] << 8)));
}

class OutputQueueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    outputInit();
    device_.setClock(VirtualClock::Immediate);
    device_.setTap(&Capture::tap, &capture_);
    outputUseDevice(&device_);
    outputSetStreamPosition(int64_t{1} << 30, 0);
  }
  void TearDown() override {
    device_.advance(int64_t{1} << 40);
    outputReset();
    outputClose();
    outputUseDevice(nullptr);
    outputInit();
  }
  bool openStereo() { return outputOpen(OutputFormat{2, 16, 44100, kBlock}) == 1; }
  // One block of a constant stereo sample value.
  void appendBlock(int16_t value) {
    std::vector<uint8_t> pcm(kBlock);
    for (size_t i = 0; i < pcm.size(); i += 2) {
      pcm[i] = static_cast<uint8_t>(static_cast<uint16_t>(value) & 0xFF);
      pcm[i + 1] = static_cast<uint8_t>(static_cast<uint16_t>(value) >> 8);
    }
    EXPECT_EQ(outputAppend(pcm.data(), kBlock / 2), 0);
    EXPECT_EQ(outputAppend(pcm.data() + kBlock / 2, kBlock / 2), kBlock);
  }

  VirtualDevice device_;
  Capture capture_;
};

TEST(OutputLevels, RampsTakeTheirSteps) {
  int32_t level = 0;
  int32_t blocks = 0;
  for (; level < 100; ++blocks) level = fadeInStep(level, 100);
  EXPECT_EQ(blocks, 23);  // ten steps of 1, eight of 5, five of 10
  EXPECT_EQ(fadeInStep(45, 60), 50);
  EXPECT_EQ(fadeInStep(55, 60), 60);  // never past the target
  std::vector<int32_t> down;
  for (level = 100; level > 0;) down.push_back(level = fadeOutStep(level));
  EXPECT_EQ(down, (std::vector<int32_t>{90, 80, 70, 60, 50, 45, 40, 35, 30, 25, 20, 15, 10, 8, 6, 4, 2, 1, 0}));
  EXPECT_EQ(fadeOutStep(0), 0);
}

TEST(OutputLevels, ScalingClampsAndCentresEightBit) {
  uint8_t pcm16[4] = {0xFF, 0x7F, 0x00, 0x80};  // 32767, -32768
  scaleBlock(pcm16, 4, 16, 2, 50, 10);
  EXPECT_EQ(static_cast<int16_t>(pcm16[0] | (pcm16[1] << 8)), 16383);
  EXPECT_EQ(static_cast<int16_t>(pcm16[2] | (pcm16[3] << 8)), -3276);
  uint8_t pcm8[2] = {255, 0};
  scaleBlock(pcm8, 2, 8, 1, 50, 100);  // mono: the left level for both
  EXPECT_EQ(pcm8[0], 191);
  EXPECT_EQ(pcm8[1], 64);
}

TEST_F(OutputQueueTest, FadeInRisesOverTwentyThreeBlocksFromSilence) {
  outputSetFadeIn(1);
  ASSERT_TRUE(openStereo());
  int32_t left = -1, right = -1;
  outputGetLevels(&left, &right);
  EXPECT_EQ(left, 0);
  for (int32_t b = 0; b < 22; ++b) appendBlock(1000);
  outputGetLevels(&left, &right);
  EXPECT_EQ(left, 90);
  appendBlock(1000);
  outputGetLevels(&left, &right);
  EXPECT_EQ(left, 100);
  EXPECT_EQ(right, 100);
  EXPECT_EQ(sampleAt(capture_.blocks[0], 0), 10);  // level 1
  EXPECT_EQ(sampleAt(capture_.blocks[21], 1), 900);
  EXPECT_EQ(sampleAt(capture_.blocks[22], 0), 1000);
}

TEST_F(OutputQueueTest, LevelsScaleOnlyWhenNeitherIsFull) {
  outputSetLevels(90, 50);
  ASSERT_TRUE(openStereo());
  appendBlock(1000);
  outputSetLevels(100, 50);
  appendBlock(1000);
  ASSERT_EQ(capture_.blocks.size(), 2u);
  EXPECT_EQ(sampleAt(capture_.blocks[0], 0), 900);
  EXPECT_EQ(sampleAt(capture_.blocks[0], 1), 500);
  EXPECT_EQ(sampleAt(capture_.blocks[1], 0), 1000);
  EXPECT_EQ(sampleAt(capture_.blocks[1], 1), 1000);
}

TEST_F(OutputQueueTest, SoftLevelsSetBeforeOpenApply) {
  outputSetLevels(50, 50);
  ASSERT_TRUE(openStereo());
  appendBlock(1000);
  EXPECT_EQ(sampleAt(capture_.blocks[0], 0), 500);
}

TEST_F(OutputQueueTest, FadeOutAtEndLowersTheLastBlocks) {
  outputSetFadeOutAtEnd(1);
  ASSERT_TRUE(openStereo());
  outputSetStreamPosition(30 * 1024, 0);  // 30 blocks in the stream
  for (int32_t b = 0; b < 30; ++b) appendBlock(1000);
  EXPECT_EQ(sampleAt(capture_.blocks[6], 0), 1000);  // 23 or more blocks left
  EXPECT_EQ(sampleAt(capture_.blocks[7], 0), 900);
  EXPECT_EQ(sampleAt(capture_.blocks[29], 0), 0);
}

TEST_F(OutputQueueTest, CueFactorShortensBlocksAndDoublesPositions) {
  outputSetCueFactor(2);
  device_.setClock(VirtualClock::Manual);
  ASSERT_TRUE(openStereo());
  appendBlock(1000);
  ASSERT_EQ(capture_.blocks.size(), 1u);
  EXPECT_EQ(capture_.blocks[0].size(), static_cast<size_t>(kBlock / 2));
  device_.advance(100);
  EXPECT_EQ(outputGetPosition(), 200);
}

TEST_F(OutputQueueTest, RatePercentOpensTheDeviceSlower) {
  outputSetRatePercent(50);
  ASSERT_TRUE(openStereo());
  EXPECT_EQ(device_.format().sampleRate, 22050);
}

TEST_F(OutputQueueTest, ProducerWaitsWhileAllHeadersAreAtTheDevice) {
  device_.setClock(VirtualClock::Manual);
  ASSERT_TRUE(openStereo());
  for (int32_t b = 0; b < kHeaderCount; ++b) appendBlock(1);
  std::atomic<bool> done{false};
  std::thread producer([&] {
    appendBlock(2);
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(done.load());
  EXPECT_EQ(device_.blocksWritten(), kHeaderCount);
  device_.advance(1024);  // one block played frees one header
  producer.join();
  EXPECT_EQ(device_.blocksWritten(), kHeaderCount + 1);
}

TEST_F(OutputQueueTest, ClosePadsAndPlaysThePartialBlock) {
  ASSERT_TRUE(openStereo());
  std::vector<uint8_t> pcm(100, 0x11);
  outputAppend(pcm.data(), 100);
  EXPECT_EQ(device_.blocksWritten(), 0);
  EXPECT_EQ(outputClose(), 1);
  ASSERT_EQ(capture_.blocks.size(), 1u);
  EXPECT_EQ(capture_.blocks[0][99], 0x11);
  EXPECT_EQ(capture_.blocks[0][100], 0);
  EXPECT_EQ(outputClose(), 0);  // nothing open
}

TEST_F(OutputQueueTest, ResetDropsTheQueueAndRestartsThePosition) {
  device_.setClock(VirtualClock::Manual);
  ASSERT_TRUE(openStereo());
  for (int32_t b = 0; b < 5; ++b) appendBlock(1);
  device_.advance(1500);
  EXPECT_EQ(outputGetPosition(), 1500);
  EXPECT_EQ(outputReset(), 1);
  EXPECT_EQ(outputGetPosition(), 0);
  EXPECT_EQ(device_.queuedSamples(), 0);
  for (int32_t b = 0; b < kHeaderCount; ++b) appendBlock(1);  // every header free again
  EXPECT_EQ(device_.blocksWritten(), 5 + kHeaderCount);
}

TEST_F(OutputQueueTest, VolumeWhileClosedGoesToTheChosenDevice) {
  outputSetDevice(3);
  outputSetVolume(100, 50);
  int32_t left = 0, right = 0;
  outputGetVolume(&left, &right);
  EXPECT_EQ(left, 100);
  EXPECT_EQ(right, 50);  // 0x7FFF, which is 49.998 %
  for (int32_t level = 0; level <= 100; ++level) {
    outputSetVolume(level, level);
    outputGetVolume(&left, &right);
    ASSERT_EQ(left, level) << "every level reads back as itself";
  }
  EXPECT_EQ(outputGetCaps(), kCapsVolume | kCapsLrVolume);

  device_.setVolumeUnreadable(true);
  outputGetVolume(&left, &right);
  EXPECT_EQ(left, 100) << "a volume that cannot be read is the device's own full level, not silence";
  EXPECT_EQ(right, 100);
}

}  // namespace
}  // namespace orva

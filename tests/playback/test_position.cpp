// The position the engine reports during device playback, pinned against the
// device's own sample count: whole seconds, milliseconds and samples, after a
// seek and at a changed playback rate. A drift of a fraction of a percent
// would move the seek bar and the lyrics by seconds over an hour.
#include <chrono>
#include <cmath>
#include <thread>

#include "tests/playback/playback_test.h"

namespace orva::test {
namespace {

class PositionTest : public PlaybackTest {
 protected:
  // Lets the manual clock play until the device has played `target` samples
  // since its last reset; the playback thread keeps the queue filled.
  void playUntil(int64_t target) {
    for (int32_t i = 0; i < 4000 && device_.position() < target; ++i) {
      device_.advance(std::min<int64_t>(target - device_.position(), 4096));
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(device_.position(), target);
  }

  // Everything reported agrees with `samples` played at `rate` samples/s.
  void expectPosition(int64_t samples, int32_t rate) {
    EXPECT_EQ(engineGetPositionSamples(), samples);
    int32_t seconds = -1;
    engineGetState(&seconds);
    EXPECT_EQ(seconds, samples / rate);
    const double scale = static_cast<double>(engineGetNominalDuration()) / info_.durationSeconds;
    EXPECT_EQ(engineGetPositionMs(), static_cast<int32_t>(std::trunc(scale * samples * 1000.0 / rate)));
  }
};

TEST_F(PositionTest, FollowsTheDeviceSampleCountThroughSeeksAndRateChanges) {
  device_.setClock(VirtualClock::Manual);
  open(demoPath());
  ASSERT_EQ(info_.sampleRate, 44100);
  ASSERT_EQ(enginePlay(), 1);
  expectPosition(0, 44100);

  playUntil(10 * 44100 + 12345);
  expectPosition(10 * 44100 + 12345, 44100);

  // A seek restarts the device's count from the frame boundary it lands on.
  ASSERT_EQ(engineSeekSamples(2 * 44100), 1);
  const int64_t base = gEngine.positionBase.load();
  ASSERT_EQ(base % 1152, 0);
  ASSERT_EQ(device_.position(), 0);
  playUntil(3 * 44100 + 777);
  expectPosition(base + 3 * 44100 + 777, 44100);

  // At half speed the device plays the stream's samples at 22050 a second;
  // the position still counts stream samples.
  const int64_t before = engineGetPositionSamples();
  ASSERT_EQ(engineSetRatePercent(50), 1);
  ASSERT_EQ(device_.format().sampleRate, 22050);
  // The restart lands on the frame boundary at or after the position.
  const int64_t rebased = gEngine.positionBase.load();
  EXPECT_EQ(rebased % 1152, 0);
  EXPECT_GE(rebased, before);
  EXPECT_LT(rebased, before + 1152);
  playUntil(22050);
  expectPosition(rebased + 22050, 44100);
}

}  // namespace
}  // namespace orva::test

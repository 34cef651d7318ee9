// Thousands of random transport calls against a playing engine on a fast
// virtual clock: no deadlock, no crash, and the state always one the calls
// can explain.
#include <random>

#include "tests/playback/playback_test.h"

namespace orva::test {
namespace {

using StressTest = PlaybackTest;

TEST_F(StressTest, RandomTransportCallsKeepAConsistentState) {
  device_.setClock(VirtualClock::Timed, 40.0);
  const std::string clips[2] = {demoPath(), write("short.mp3", silentL3Frames(120))};
  open(clips[0]);
  std::mt19937 random(20260101);
  const int32_t bands[10] = {10, 20, 30, 0, 0, 0, -30, -20, -10, 0};
  constexpr int32_t kCalls = 3000;
  for (int32_t call = 0; call < kCalls; ++call) {
    const int32_t before = engineGetState(nullptr);
    const uint32_t kind = random() % 10;
    switch (kind) {
      case 0: enginePlay(); break;
      case 1: enginePause(); break;
      case 2: engineResume(); break;
      case 3: engineSeekSamples(static_cast<int32_t>(random() % 600000)); break;
      case 4: engineRestart(); break;
      case 5: engineSetEqualizer(random() % 2 ? bands : nullptr); break;
      case 6: engineStop(); break;
      case 7: open(clips[random() % 2]); break;
      case 8: engineSeekSeconds(static_cast<int32_t>(random() % 14)); break;
      default: engineGetPositionMs(); break;
    }
    const int32_t after = engineGetState(nullptr);
    ASSERT_TRUE(after >= ENGINE_STOPPED && after <= ENGINE_PAUSED) << "call " << call;
    // Nothing but a play brings a stopped engine back; stop and open stop it.
    if ((before == ENGINE_STOPPED && kind != 0) || kind == 6 || kind == 7) {
      ASSERT_EQ(after, ENGINE_STOPPED) << "call " << call << " kind " << kind;
    }
    int32_t seconds = -1;
    engineGetState(&seconds);
    ASSERT_GE(seconds, 0);
    ASSERT_LE(seconds, info_.durationSeconds);
  }
  EXPECT_EQ(engineStop(), 1);
  EXPECT_EQ(engineGetState(nullptr), ENGINE_STOPPED);
  EXPECT_FALSE(device_.isOpen());
}

}  // namespace
}  // namespace orva::test

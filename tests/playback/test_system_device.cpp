// The platform's own wave device (winmm on Windows, ALSA elsewhere) plays a
// clip to its end: the state comes back to 0 and the callback reports the
// start, positions and the end. The test environment points the device at
// ALSA's null plugin, so no sound card is needed.
#include "tests/playback/playback_test.h"

namespace orva::test {
namespace {

class SystemDeviceTest : public PlaybackTest {
 protected:
  void SetUp() override {
    PlaybackTest::SetUp();
    outputUseDevice(nullptr);  // the platform's device
  }
};

TEST_F(SystemDeviceTest, PlaysAClipToItsEnd) {
  open(write("clip.mp3", silentL3Frames(80)));  // about 2 s
  if (enginePlay() != 1) {
    ASSERT_EQ(engineGetStatus(), ENGINE_ERR_DEVICE_OPEN);
    GTEST_SKIP() << "no wave output device on this machine";
  }
  EXPECT_EQ(engineGetVolumeCaps(), 2);
  ASSERT_TRUE(waitForState(ENGINE_STOPPED));
  const std::vector<int32_t> events = EventLog::events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), ENGINE_EVENT_POSITION);
  EXPECT_EQ(events.back(), ENGINE_EVENT_ENDED);
  EXPECT_EQ(EventLog::count(ENGINE_EVENT_STOPPED), 0);
  EXPECT_EQ(EventLog::count(ENGINE_EVENT_RESYNC), 0);
}

TEST_F(SystemDeviceTest, StopsAfterASeek) {
  open(demoPath());
  if (enginePlay() != 1) GTEST_SKIP() << "no wave output device on this machine";
  ASSERT_EQ(engineSeekSeconds(2), 1);
  EXPECT_EQ(engineStop(), 1) << engineGetStatus();
  EXPECT_EQ(engineGetState(nullptr), ENGINE_STOPPED);
  // A device that plays faster than real time may reach the end first.
  const int32_t last = EventLog::events().back();
  EXPECT_TRUE(last == ENGINE_EVENT_STOPPED || last == ENGINE_EVENT_ENDED) << last;
}

}  // namespace
}  // namespace orva::test

// Transport on the virtual device: the calls that do nothing, stops and
// pauses at awkward moments, seeks, and how a stream ends.
#include <algorithm>
#include <cstring>

#include "tests/playback/playback_test.h"

namespace orva::test {
namespace {

using TransportTest = PlaybackTest;

TEST_F(TransportTest, CallsWhileStoppedReportButChangeNothing) {
  EXPECT_EQ(engineStop(), 1);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_NOT_PLAYING);
  EXPECT_EQ(engineRestart(), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_NOT_PLAYING);
  EXPECT_EQ(enginePause(), 1);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_NOT_PAUSABLE);
  EXPECT_EQ(engineSeekSamples(1000), 1);
  EXPECT_EQ(engineResume(), 1);
  EXPECT_EQ(engineGetState(nullptr), ENGINE_STOPPED);
  EXPECT_EQ(device_.blocksWritten(), 0);
  EXPECT_EQ(enginePlay(), 0);  // no file open
}

TEST_F(TransportTest, PauseTwiceAndResumeWhilePlaying) {
  // A device that plays (ten times faster than real time) and five minutes
  // of stream, far more than the output queue holds: the decoding is still
  // running, and taking messages, however fast it is. (A stream that fits
  // in the queue is decoded to its end at once and plays out, and a stop
  // during the play-out ends it rather than stopping it.)
  device_.setClock(VirtualClock::Timed, 10.0);
  open(write("long.mp3", silentL3Frames(11500)));
  ASSERT_EQ(enginePlay(), 1);
  EXPECT_EQ(engineResume(), 1);  // playing: nothing to do
  EXPECT_EQ(engineGetState(nullptr), ENGINE_PLAYING);
  ASSERT_EQ(enginePause(), 1);
  EXPECT_EQ(engineGetState(nullptr), ENGINE_PAUSED);
  EXPECT_TRUE(device_.isPaused());
  EXPECT_EQ(enginePause(), 1);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_NOT_PAUSABLE);
  ASSERT_EQ(engineResume(), 1);
  EXPECT_EQ(engineGetState(nullptr), ENGINE_PLAYING);
  EXPECT_FALSE(device_.isPaused());
  EXPECT_EQ(engineStop(), 1);
  EXPECT_EQ(engineGetState(nullptr), ENGINE_STOPPED);
  // Position ticks come whenever a second has played; the transport's own
  // word is one pause, a position (the resume) after it, and the stop last.
  const std::vector<int32_t> events = EventLog::events();
  const auto paused = std::find(events.begin(), events.end(), ENGINE_EVENT_PAUSED);
  ASSERT_NE(paused, events.end());
  EXPECT_EQ(std::count(events.begin(), events.end(), ENGINE_EVENT_PAUSED), 1);
  EXPECT_NE(std::find(paused, events.end(), ENGINE_EVENT_POSITION), events.end());
  EXPECT_EQ(events.back(), ENGINE_EVENT_STOPPED);
}

TEST_F(TransportTest, StopRightAfterPlayEndsPlayback) {
  device_.setClock(VirtualClock::Manual);  // the device never drains by itself
  open(demoPath());
  for (int32_t round = 0; round < 5; ++round) {
    ASSERT_EQ(enginePlay(), 1);
    EXPECT_EQ(engineStop(), 1) << engineGetStatus();
    EXPECT_EQ(engineGetState(nullptr), ENGINE_STOPPED);
    EXPECT_FALSE(device_.isOpen());
  }
}

TEST_F(TransportTest, MessagePostedBeforeTheThreadRunsIsHandled) {
  device_.setClock(VirtualClock::Manual);
  open(demoPath());
  ASSERT_EQ(enginePlay(), 1);
  ASSERT_EQ(enginePause(), 1);
  EXPECT_EQ(engineGetState(nullptr), ENGINE_PAUSED);
}

TEST_F(TransportTest, SeekToSampleZeroLandsAfterTheFirstFrame) {
  device_.setClock(VirtualClock::Manual);
  open(demoPath());
  ASSERT_EQ(enginePlay(), 1);
  ASSERT_EQ(engineSeekSamples(0), 1);
  EXPECT_EQ(gEngine.positionBase.load(), 1152);
  EXPECT_EQ(engineGetPositionSamples(), 1152);
  // A seek lands on the first frame boundary at or after the target.
  ASSERT_EQ(engineSeekSamples(44100), 1);
  EXPECT_EQ(gEngine.positionBase.load(), 39 * 1152);
  int32_t seconds = -1;
  EXPECT_EQ(engineGetState(&seconds), ENGINE_PLAYING);
  EXPECT_EQ(seconds, 1);
  EXPECT_EQ(engineGetFrameIndex(), 39);
}

TEST_F(TransportTest, SeekPastTheEndEndsThePlayback) {
  open(demoPath());
  ASSERT_EQ(enginePlay(), 1);
  ASSERT_EQ(engineSeekSeconds(100000), 1);
  EXPECT_TRUE(waitForState(ENGINE_STOPPED));
  int32_t seconds = -1;
  engineGetState(&seconds);
  EXPECT_LE(seconds, info_.durationSeconds);
}

TEST_F(TransportTest, PauseDuringPlayOutPausesTheDeviceAndResumeFinishesIt) {
  device_.setClock(VirtualClock::Manual);
  open(write("short.mp3", silentL3Frames(40)));
  ASSERT_EQ(enginePlay(), 1);
  // 40 frames fit in the device's 32 headers: the thread reaches its play-out.
  for (int32_t i = 0; i < 2000 && outputIsOpen() && EventLog::count(ENGINE_EVENT_POSITION) < 2; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  for (int32_t i = 0; i < 2000 && device_.queuedSamples() < 40 * 1152; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_EQ(device_.queuedSamples(), 40 * 1152);
  ASSERT_EQ(enginePause(), 1);
  EXPECT_EQ(engineGetState(nullptr), ENGINE_PAUSED);
  EXPECT_TRUE(device_.isPaused());
  device_.advance(int64_t{1} << 20);  // a paused device plays nothing
  EXPECT_EQ(engineGetState(nullptr), ENGINE_PAUSED);
  ASSERT_EQ(engineResume(), 1);
  playToEnd();
  EXPECT_EQ(engineGetState(nullptr), ENGINE_STOPPED);
  EXPECT_EQ(EventLog::events().back(), ENGINE_EVENT_ENDED);
}

TEST_F(TransportTest, StopDuringPlayOutIsImmediate) {
  device_.setClock(VirtualClock::Manual);
  open(write("short.mp3", silentL3Frames(40)));
  ASSERT_EQ(enginePlay(), 1);
  for (int32_t i = 0; i < 2000 && device_.queuedSamples() < 40 * 1152; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_EQ(engineStop(), 1) << engineGetStatus();
  EXPECT_EQ(engineGetState(nullptr), ENGINE_STOPPED);
}

TEST_F(TransportTest, EndOfDataWithoutTagEndsCleanly) {
  open(write("clean.mp3", silentL3Frames(60)));
  ASSERT_EQ(enginePlay(), 1);
  ASSERT_TRUE(waitForState(ENGINE_STOPPED));
  const std::vector<int32_t> events = EventLog::events();
  EXPECT_EQ(events.front(), ENGINE_EVENT_POSITION);
  EXPECT_EQ(events.back(), ENGINE_EVENT_ENDED);
  EXPECT_EQ(EventLog::count(ENGINE_EVENT_RESYNC), 0);
  EXPECT_EQ(EventLog::count(ENGINE_EVENT_STOPPED), 0);
  EXPECT_EQ(device_.bytesWritten(), 3 * 20 * 4608);  // 60 frames: three blocks
}

TEST_F(TransportTest, EndOfDataThroughAnId3v1TagResynchronisesThenEnds) {
  Bytes bytes = silentL3Frames(60);
  append(bytes, id3v1Tag("title", "artist", 1));
  open(write("tagged.mp3", bytes));
  ASSERT_EQ(enginePlay(), 1);
  ASSERT_TRUE(waitForState(ENGINE_STOPPED));
  const std::vector<int32_t> events = EventLog::events();
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events[events.size() - 2], ENGINE_EVENT_RESYNC);
  EXPECT_EQ(events.back(), ENGINE_EVENT_ENDED);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_READ);
}

TEST_F(TransportTest, FadeOutAndStopEndsThePlayAndGivesTheVolumeBack) {
  device_.setClock(VirtualClock::Timed, 50.0);
  open(demoPath());
  engineSetVolume(80, 60);
  ASSERT_EQ(enginePlay(), 1);
  EXPECT_EQ(engineFadeOutAndStop(), 80);
  ASSERT_TRUE(waitForState(ENGINE_STOPPED));
  EXPECT_EQ(EventLog::events().back(), ENGINE_EVENT_ENDED);
  int32_t left = 0, right = 0;
  engineGetVolume(&left, &right);
  EXPECT_EQ(left, 80);
  EXPECT_EQ(right, 60);
}

TEST_F(TransportTest, RestartKeepsPositionAndPause) {
  device_.setClock(VirtualClock::Manual);
  open(demoPath());
  ASSERT_EQ(enginePlay(), 1);
  ASSERT_EQ(engineSeekSamples(5 * 44100), 1);
  const int32_t before = engineGetPositionSamples();
  ASSERT_EQ(enginePause(), 1);
  ASSERT_EQ(engineRestart(), 1);
  EXPECT_EQ(engineGetState(nullptr), ENGINE_PAUSED);
  EXPECT_EQ(engineGetPositionSamples(), before);
}

TEST_F(TransportTest, EqualizerIsPostedWhilePlayingAndDirectOtherwise) {
  const int32_t bands[10] = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90};
  EXPECT_EQ(engineSetEqualizer(bands), 1);
  EXPECT_EQ(engineSetEqualizer(nullptr), 1);
  device_.setClock(VirtualClock::Manual);
  open(demoPath());
  ASSERT_EQ(enginePlay(), 1);
  EXPECT_EQ(engineSetEqualizer(bands), 1);
  EXPECT_EQ(engineGetState(nullptr), ENGINE_PLAYING);
}

TEST_F(TransportTest, SettingsAndCallbackOnlyWhileStopped) {
  device_.setClock(VirtualClock::Manual);
  open(demoPath());
  ASSERT_EQ(enginePlay(), 1);
  const DecoderSettings settings{30, 20, 0, 0};
  EXPECT_EQ(engineSetSettings(&settings), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_BUSY);
  EXPECT_EQ(engineSetCallback(&EventLog::record), 0);
  EXPECT_EQ(enginePlay(), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_BUSY);
}

TEST_F(TransportTest, RateAndCueChangesRestartAtThePosition) {
  device_.setClock(VirtualClock::Manual);
  open(demoPath());
  EXPECT_EQ(engineSetRatePercent(19), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_ARGUMENT);
  ASSERT_EQ(enginePlay(), 1);
  ASSERT_EQ(engineSeekSamples(3 * 44100), 1);
  const int32_t before = engineGetPositionSamples();
  ASSERT_EQ(engineSetRatePercent(50), 1);
  EXPECT_EQ(device_.format().sampleRate, 22050);
  EXPECT_EQ(engineGetPositionSamples(), before);
  EXPECT_EQ(engineGetRatePercent(), 50);
}

}  // namespace
}  // namespace orva::test

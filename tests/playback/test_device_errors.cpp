// Starts of playback that fail in the system: the status sentence comes with
// the system's reason (engineGetSystemErrorText), a device that fails
// part-way is left with nothing prepared, and the silent device is chosen
// by its id.
#include <string>

#include "tests/playback/playback_test.h"

namespace orva::test {
namespace {

std::string systemReason() {
  char text[512];
  const int32_t n = engineGetSystemErrorText(text, sizeof text);
  EXPECT_EQ(n, static_cast<int32_t>(std::string(text).size()));
  return text;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class DeviceErrorTest : public PlaybackTest {};

TEST_F(DeviceErrorTest, APartialOpenFailsCleanlyWithItsReason) {
  open(demoPath());
  device_.setPrepareFault(5, platform::OsErrorKind::Mmresult, 7);
  EXPECT_EQ(enginePlay(), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_DEVICE_OPEN);
  EXPECT_EQ(device_.preparedHeaders(), 0);
  EXPECT_FALSE(device_.isOpen());
  const std::string reason = systemReason();
  EXPECT_TRUE(contains(reason, "preparing a virtual header failed")) << reason;
  EXPECT_TRUE(contains(reason, "MMSYSERR_NOMEM")) << reason;
  EXPECT_TRUE(contains(reason, "(MMRESULT 7).")) << reason;

  // The next start forgets the reason of the last one.
  device_.setPrepareFault(-1, platform::OsErrorKind::None, 0);
  ASSERT_EQ(enginePlay(), 1) << engineGetStatus();
  EXPECT_EQ(systemReason(), "");
}

TEST_F(DeviceErrorTest, AnImpossibleSystemDeviceGivesTheSystemsReason) {
  outputUseDevice(nullptr);
  open(demoPath());
  ASSERT_EQ(engineSetDevice(9999), 1);
  EXPECT_EQ(enginePlay(), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_DEVICE_OPEN);
  const std::string reason = systemReason();
#ifdef _WIN32
  EXPECT_TRUE(contains(reason, "waveOutOpen failed: ")) << reason;
  EXPECT_TRUE(contains(reason, "MMSYSERR_BADDEVICEID")) << reason;
  EXPECT_TRUE(contains(reason, "(MMRESULT 2).")) << reason;
#else
  EXPECT_TRUE(contains(reason, "snd_pcm_open failed: ")) << reason;
  EXPECT_TRUE(contains(reason, "(ALSA error -")) << reason;
  EXPECT_FALSE(contains(reason, "Unknown error")) << reason;
#endif
}

TEST_F(DeviceErrorTest, AWaveFileThatCannotBeCreatedGivesTheSystemsReason) {
  open(demoPath());
  const std::string path = dir_.file("missing") + "/out.wav";
  EXPECT_EQ(enginePlayToWave(path.c_str()), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_WAVE_CREATE);
  EXPECT_FALSE(device_.isOpen());
  const std::string played = systemReason();
  EXPECT_TRUE(contains(played, "creating the WAV file failed: ")) << played;
  EXPECT_FALSE(contains(played, "Unknown error")) << played;

  EXPECT_EQ(engineDecodeToWave(path.c_str()), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_WAVE_CREATE);
  EXPECT_EQ(systemReason(), played);
}

TEST_F(DeviceErrorTest, TheReasonNeedsABuffer) {
  char text[4];
  EXPECT_EQ(engineGetSystemErrorText(nullptr, 16), -1);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_ARGUMENT);
  EXPECT_EQ(engineGetSystemErrorText(text, 0), -1);
}

TEST_F(DeviceErrorTest, TheSilentDeviceIsChosenByItsIdAndKeptWhilePlaying) {
  outputUseDevice(nullptr);
  open(demoPath());
  ASSERT_EQ(engineSetDevice(ENGINE_DEVICE_SILENT), 1);
  ASSERT_EQ(enginePlay(), 1) << engineGetStatus();
  EXPECT_EQ(&outputDevice(), &silentWaveDevice());
  // A new id waits for the next open.
  ASSERT_EQ(engineSetDevice(ENGINE_DEVICE_DEFAULT), 1);
  EXPECT_EQ(&outputDevice(), &silentWaveDevice());
  EXPECT_EQ(engineGetVolumeCaps(), 2);
  EXPECT_EQ(engineStop(), 1) << engineGetStatus();
  EXPECT_EQ(&outputDevice(), &systemWaveDevice());
}

}  // namespace
}  // namespace orva::test

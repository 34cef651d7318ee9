// Devices that fail to open: all-or-nothing header preparation, a partial
// open that leaves nothing behind, and the sentences the OS error record
// gives for known codes.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "output/header_prepare.h"
#include "output/output_queue.h"
#include "output/virtual_device.h"
#include "platform/codepage.h"
#include "platform/os_error.h"

namespace orva {
namespace {

using platform::OsErrorKind;

std::string sentenceOf(OsErrorKind kind, int32_t code, const char* api) {
  char text[256];
  platform::formatOsError(platform::OsError{kind, code, api}, text, sizeof text);
  return text;
}

std::string textOf(OsErrorKind kind, int32_t code) {
  char text[256];
  platform::osErrorText(kind, code, text, sizeof text);
  return text;
}

TEST(HeaderPrepareTest, AFailureReleasesEveryHeaderPreparedBeforeIt) {
  for (int32_t failAt : {0, 1, 17, kHeaderCount - 1}) {
    std::vector<int32_t> prepared;
    std::vector<int32_t> released;
    const int32_t failed = prepareAllOrNone(
        kHeaderCount,
        [&](int32_t i) {
          if (i == failAt) return false;
          prepared.push_back(i);
          return true;
        },
        [&](int32_t i) { released.push_back(i); });
    EXPECT_EQ(failed, failAt);
    ASSERT_EQ(released.size(), prepared.size()) << failAt;
    // Newest first: the reverse of the order of preparation.
    EXPECT_TRUE(std::equal(released.begin(), released.end(), prepared.rbegin())) << failAt;
  }
  int32_t count = 0;
  EXPECT_EQ(prepareAllOrNone(
                kHeaderCount, [&](int32_t) { return ++count > 0; }, [](int32_t) { FAIL(); }),
            -1);
  EXPECT_EQ(count, kHeaderCount);
}

class PartialOpenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    outputInit();
    platform::clearOsError();
    outputUseDevice(&device_);
  }
  void TearDown() override {
    outputClose();
    outputUseDevice(nullptr);
  }
  VirtualDevice device_;
};

TEST_F(PartialOpenTest, LeavesNothingPreparedOrOpenAndKeepsTheReason) {
  device_.setPrepareFault(12, OsErrorKind::Mmresult, 7);
  EXPECT_EQ(outputOpen(OutputFormat{2, 16, 44100, 4096}), 0);
  EXPECT_EQ(device_.preparedHeaders(), 0);
  EXPECT_FALSE(device_.isOpen());
  EXPECT_FALSE(outputIsOpen());
  const platform::OsError error = platform::lastOsError();
  EXPECT_EQ(error.kind, OsErrorKind::Mmresult);
  EXPECT_EQ(error.code, 7);

  // The same device opens once the fault is gone, with every header ready.
  device_.setPrepareFault(-1, OsErrorKind::None, 0);
  ASSERT_EQ(outputOpen(OutputFormat{2, 16, 44100, 4096}), 1);
  EXPECT_EQ(device_.preparedHeaders(), kHeaderCount);
  outputClose();
  EXPECT_EQ(device_.preparedHeaders(), 0);
}

TEST(OsErrorTextTest, WinmmResultsHaveTheirNames) {
  EXPECT_EQ(sentenceOf(OsErrorKind::Mmresult, 32, "waveOutOpen"),
            "waveOutOpen failed: The device does not support this wave format [WAVERR_BADFORMAT] (MMRESULT 32).");
  EXPECT_NE(textOf(OsErrorKind::Mmresult, 2).find("MMSYSERR_BADDEVICEID"), std::string::npos);
  EXPECT_NE(textOf(OsErrorKind::Mmresult, 4).find("MMSYSERR_ALLOCATED"), std::string::npos);
  EXPECT_NE(textOf(OsErrorKind::Mmresult, 33).find("WAVERR_STILLPLAYING"), std::string::npos);
  EXPECT_EQ(sentenceOf(OsErrorKind::Mmresult, 999, "waveOutWrite"),
            "waveOutWrite failed: Unknown error (MMRESULT 999).");
}

TEST(OsErrorTextTest, ErrnoAndAlsaCodesUseTheCLibraryText) {
  std::string expected = std::strerror(ENOENT);
  while (!expected.empty() && expected.back() == '.') expected.pop_back();
  EXPECT_EQ(textOf(OsErrorKind::Errno, ENOENT), expected);
  // ALSA returns errno values negated.
  EXPECT_EQ(textOf(OsErrorKind::Alsa, -ENOENT), expected);
  EXPECT_EQ(sentenceOf(OsErrorKind::Alsa, -ENOENT, "snd_pcm_open"),
            "snd_pcm_open failed: " + expected + " (ALSA error -" + std::to_string(ENOENT) + ").");
  EXPECT_NE(textOf(OsErrorKind::Alsa, -500000).find("SND_ERROR_INCOMPATIBLE_VERSION"), std::string::npos);
  EXPECT_EQ(textOf(OsErrorKind::Errno, 0), "Unknown error");
}

TEST(OsErrorTextTest, SystemErrorsHaveTheSystemsTextOnWindowsOnly) {
  const std::string text = textOf(OsErrorKind::Win32, 2);  // ERROR_FILE_NOT_FOUND
#ifdef _WIN32
  EXPECT_NE(text, "Unknown error");
  EXPECT_FALSE(text.empty());
  EXPECT_NE(text.back(), '\n');
#else
  EXPECT_EQ(text, "Unknown error");
#endif
}

TEST(OsErrorTextTest, NoErrorGivesNoSentence) {
  char text[16] = "stale";
  EXPECT_EQ(platform::formatOsError(platform::OsError{}, text, sizeof text), 0);
  EXPECT_STREQ(text, "");
}

TEST(OsErrorTextTest, ShortBuffersAreCutBetweenCharacters) {
  platform::setActiveCodePage(platform::CodePage::Cp932);
  // "テスト" in cp932: three two-byte characters.
  const char* api = "\x83\x65\x83\x58\x83\x67";
  char text[6];
  EXPECT_EQ(platform::formatOsError(platform::OsError{OsErrorKind::Mmresult, 2, api}, text, sizeof text), 4);
  EXPECT_STREQ(text, "\x83\x65\x83\x58");
  char one[1] = {'x'};
  EXPECT_EQ(platform::formatOsError(platform::OsError{OsErrorKind::Mmresult, 2, api}, one, sizeof one), 0);
  EXPECT_EQ(one[0], '\0');
  platform::setActiveCodePage(platform::CodePage::System);
}

}  // namespace
}  // namespace orva

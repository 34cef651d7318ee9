#include <gtest/gtest.h>

#include <string>

#include "platform/codepage.h"
#include "shell/rules/title_text.h"

namespace orva {
namespace {

using platform::CodePage;

class TitleText : public ::testing::Test {
 protected:
  void TearDown() override { platform::setActiveCodePage(CodePage::System); }
};

TEST_F(TitleText, PositionTextAndLengthWithMinutesPastTheHour) {
  struct Case {
    int32_t position;
    const char* text;
    int32_t total;
    const char* expected;
  };
  const Case cases[] = {
      {0, "abc", 0, "00:00 abc [00:00]"},
      {59, "abc", 61, "00:59 abc [01:01]"},
      {75 * 60 + 4, "t", 2 * 3600 + 1, "75:04 t [120:01]"},  // no hours field
      {600000, "t", 600000, "10000:00 t [10000:00]"},
      {5, "", 9, "00:05  [00:09]"},
      {-1, "t", -30, "00:00 t [00:00]"},
      {3, "100% [live]", 4, "00:03 100% [live] [00:04]"},  // the text is not a format
  };
  for (const Case& c : cases) EXPECT_EQ(titleLine(c.position, c.text, c.total), c.expected) << c.text;
}

// ア is 0x83 0x41; ゾ is 0x83 0x5D, whose trail byte is ']'.
TEST_F(TitleText, Cp932CutsNeverSplitACharacter) {
  platform::setActiveCodePage(CodePage::Cp932);
  struct Case {
    std::string text;
    size_t maxBytes;
    size_t expected;
  };
  const Case cases[] = {
      {"ab\x83\x41", 3, 2},        // ア would straddle the limit
      {"ab\x83\x41", 4, 4},        // ア ends on it
      {"\x83\x5D\x83\x5D", 3, 2},  // the trail byte ] is no character of its own
      {"\xB1\xB2\xB3", 2, 2},      // half-width katakana are single bytes
      {"ab\x83", 10, 3},           // a lead byte cut off by the end stays one character
      {"abc", 0, 0},
      {"", 5, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(fittingBytes(c.text.c_str(), c.maxBytes), c.expected) << c.maxBytes;
}

TEST_F(TitleText, OtherCodePagesStepTheirOwnCharacters) {
  platform::setActiveCodePage(CodePage::SingleByte);
  EXPECT_EQ(fittingBytes("ab\x83\x41", 3), 3u);
  platform::setActiveCodePage(CodePage::Utf8);
  EXPECT_EQ(fittingBytes("a\xE3\x82\xA2", 3), 1u);  // ア in UTF-8 takes three bytes
  EXPECT_EQ(fittingBytes("a\xE3\x82\xA2", 4), 4u);
}

TEST_F(TitleText, TitleLineStopsAtItsLimitOnACharacterBoundary) {
  platform::setActiveCodePage(CodePage::Cp932);
  const std::string prefix = "00:00 ";  // 6 bytes before the track text
  // The lead byte at 999 and its trail at 1000: the line keeps 999 bytes.
  std::string straddling = std::string(993, 'a') + "\x83\x41" + "tail";
  std::string line = titleLine(0, straddling.c_str(), 60);
  EXPECT_EQ(line.size(), 999u);
  EXPECT_EQ(line, prefix + std::string(993, 'a'));
  // One byte shorter, the character ends at 1000 and stays.
  std::string fitting = std::string(992, 'a') + "\x83\x41" + "tail";
  line = titleLine(0, fitting.c_str(), 60);
  EXPECT_EQ(line.size(), kTitleTextMaxBytes);
  EXPECT_EQ(line.substr(998), "\x83\x41");
}

TEST_F(TitleText, TrayTipFitsItsFieldOnACharacterBoundary) {
  platform::setActiveCodePage(CodePage::Cp932);
  EXPECT_EQ(trayTip((std::string(62, 'a') + "\x83\x41").c_str()), std::string(62, 'a'));
  EXPECT_EQ(trayTip((std::string(61, 'a') + "\x83\x41").c_str()), std::string(61, 'a') + "\x83\x41");
  EXPECT_EQ(trayTip(std::string(100, 'a').c_str()).size(), kTrayTipMaxBytes);
  EXPECT_EQ(trayTip(kIdleTrayTip), kIdleTrayTip);
}

}  // namespace
}  // namespace orva

#include <gtest/gtest.h>

#include <cstring>

#include "platform/codepage.h"

namespace orva::platform {
namespace {

class CodePageTest : public ::testing::Test {
 protected:
  void TearDown() override { setActiveCodePage(CodePage::System); }
};

TEST_F(CodePageTest, Cp932StepsOverTrailByte5C) {
  setActiveCodePage(CodePage::Cp932);
  // "表" is 0x95 0x5C: its trail byte is the backslash.
  const char name[] = "\x95\x5C\\a";
  EXPECT_TRUE(isLeadByte(0x95));
  EXPECT_FALSE(isLeadByte('a'));
  const char* p = nextChar(name);
  EXPECT_EQ(p, name + 2);
  EXPECT_EQ(*p, '\\');
  EXPECT_EQ(nextChar(p), name + 3);
}

TEST_F(CodePageTest, Cp932LeadByteAtEndDoesNotStepPastNul) {
  setActiveCodePage(CodePage::Cp932);
  const char cut[] = "\x95";
  EXPECT_EQ(nextChar(cut), cut + 1);
  EXPECT_EQ(nextChar(cut + 1), cut + 1);
}

TEST_F(CodePageTest, Utf8StepsWholeCharacters) {
  setActiveCodePage(CodePage::Utf8);
  const char name[] = "\xE8\xA1\xA8/x";  // 表 in UTF-8
  EXPECT_EQ(nextChar(name), name + 3);
  // 0x95 is a continuation byte in UTF-8, never a lead.
  EXPECT_FALSE(isLeadByte(0x95));
}

TEST_F(CodePageTest, CompareNoCaseFoldsAsciiOnly) {
  setActiveCodePage(CodePage::Cp932);
  EXPECT_EQ(compareNoCase("Track.MP3", "track.mp3"), 0);
  EXPECT_LT(compareNoCase("a", "B"), 0);
  // Trail bytes in the letter range are not folded: 0x82 0x61 vs 0x82 0x41.
  EXPECT_NE(compareNoCase("\x82\x61", "\x82\x41"), 0);
  EXPECT_LT(compareNoCase("abc", "abcd"), 0);
}

TEST_F(CodePageTest, Cp932TextReachesTheTerminalAndBack) {
  // "曲" in cp932 is 0x8B 0xC8.
  std::string shown = cp932ToTerminal("\x8B\xC8");
  ASSERT_FALSE(shown.empty());
  std::string back;
  ASSERT_TRUE(terminalToCp932(shown, back));
  EXPECT_EQ(back, "\x8B\xC8");
}

}  // namespace
}  // namespace orva::platform

#ifdef _WIN32
namespace orva::platform {
namespace {

// The Windows program relies on ANSI code page 932 (the test runner sets
// Wine up with a Japanese locale).
TEST(CodePageSystemTest, WindowsRunsUnderCodePage932) { EXPECT_EQ(activeCodePage(), CodePage::Cp932); }

}  // namespace
}  // namespace orva::platform
#endif

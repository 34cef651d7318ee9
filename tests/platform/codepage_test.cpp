#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/platform/cp932_order_pairs.h"

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

TEST_F(CodePageTest, Cp932LeadBytesAreExactly81To9FAndE0ToFC) {
  setActiveCodePage(CodePage::Cp932);
  for (unsigned c : {0x81u, 0x82u, 0x9Eu, 0x9Fu, 0xE0u, 0xE1u, 0xFBu, 0xFCu}) {
    EXPECT_TRUE(isLeadByte(static_cast<unsigned char>(c))) << std::hex << c;
  }
  // ASCII, 0x80, 0xA0, half-width katakana and 0xFD-0xFF are single bytes.
  for (unsigned c : {0x00u, 0x40u, 0x5Cu, 0x7Fu, 0x80u, 0xA0u, 0xA1u, 0xDFu, 0xFDu, 0xFEu, 0xFFu}) {
    EXPECT_FALSE(isLeadByte(static_cast<unsigned char>(c))) << std::hex << c;
  }
  int leads = 0;
  for (unsigned c = 0; c < 256; ++c) leads += isLeadByte(static_cast<unsigned char>(c)) ? 1 : 0;
  EXPECT_EQ(leads, 31 + 29);
}

TEST_F(CodePageTest, Cp932StepsTwoBytesOnlyFromALeadByte) {
  setActiveCodePage(CodePage::Cp932);
  struct Step {
    const char* text;
    int width;
  };
  const Step steps[] = {{"\x80\x40", 1}, {"\x81\x40", 2}, {"\x9F\xFC", 2}, {"\xA0\x40", 1},
                        {"\xA1\x40", 1}, {"\xDF\x40", 1}, {"\xE0\x40", 2}, {"\xFC\x5C", 2},
                        {"\xFD\x40", 1}, {"\xFF\x40", 1}, {"\x81", 1},     {"", 0}};
  for (const Step& s : steps) EXPECT_EQ(nextChar(s.text) - s.text, s.width) << std::hex << (s.text[0] & 0xFF);
}

TEST_F(CodePageTest, Utf8LeadBytesAreC2ToF4) {
  setActiveCodePage(CodePage::Utf8);
  for (unsigned c : {0xC2u, 0xDFu, 0xE0u, 0xEFu, 0xF0u, 0xF4u}) {
    EXPECT_TRUE(isLeadByte(static_cast<unsigned char>(c))) << std::hex << c;
  }
  // Continuation bytes, the overlong leads 0xC0/0xC1 and 0xF5-0xFF.
  for (unsigned c : {0x7Fu, 0x80u, 0x95u, 0xBFu, 0xC0u, 0xC1u, 0xF5u, 0xFFu}) {
    EXPECT_FALSE(isLeadByte(static_cast<unsigned char>(c))) << std::hex << c;
  }
  struct Step {
    const char* text;
    int width;
  };
  // A lead steps over at most three continuation bytes and stops at
  // anything else, the NUL included.
  const Step steps[] = {
      {"\xC2\x80", 2}, {"\xE8\xA1\xA8", 3}, {"\xF0\x9F\x8E\xB5", 4}, {"\xF4\x80\x80\x80\x80", 4}, {"\xC0\x80", 1},
      {"\xE8\xA1", 2}, {"\xE8x", 1},        {"\x80\x80", 1}};
  for (const Step& s : steps) EXPECT_EQ(nextChar(s.text) - s.text, s.width) << std::hex << (s.text[0] & 0xFF);
}

int signOf(int v) { return (v > 0) - (v < 0); }

TEST_F(CodePageTest, Cp932OrderFollowsTheRuntimeTable) {
  setActiveCodePage(CodePage::Cp932);
  for (const test::OrderPair& p : test::kCp932OrderPairs) {
    EXPECT_EQ(signOf(compareNoCase(p.a, p.b)), p.sign)
        << testing::PrintToString(p.a) << " vs " << testing::PrintToString(p.b);
    EXPECT_EQ(signOf(compareNoCase(p.b, p.a)), -p.sign)
        << testing::PrintToString(p.b) << " vs " << testing::PrintToString(p.a);
  }
  // Two texts cut at the same lead byte are equal.
  EXPECT_EQ(compareNoCase("a\x95", "A\x95"), 0);
}

TEST_F(CodePageTest, Utf8OrderFoldsAsciiAndKeepsCodePointOrder) {
  setActiveCodePage(CodePage::Utf8);
  EXPECT_EQ(compareNoCase("Track.MP3", "track.mp3"), 0);
  EXPECT_LT(compareNoCase("_", "a"), 0);
  // ｱ (U+FF71) after 表 (U+8868): code points, not cp932's single-byte rule.
  EXPECT_GT(compareNoCase("\xEF\xBD\xB1", "\xE8\xA1\xA8"), 0);
  // Only ASCII folds: Ａ (U+FF21) and ａ (U+FF41) stay apart.
  EXPECT_LT(compareNoCase("\xEF\xBC\xA1", "\xEF\xBD\x81"), 0);
  // cp932's lead-byte rule does not apply: 0x95 is a lone byte here.
  EXPECT_GT(compareNoCase("a\x95", "a\x7F"), 0);
}

TEST_F(CodePageTest, Cp932TextReachesTheTerminalAndBack) {
  // "曲" in cp932 is 0x8B 0xC8.
  std::string shown = cp932ToTerminal("\x8B\xC8");
  ASSERT_FALSE(shown.empty());
  std::string back;
  ASSERT_TRUE(terminalToCp932(shown, back));
  EXPECT_EQ(back, "\x8B\xC8");
}

// Tag texts in UTF-8 reach the list in the code page of its names.
TEST_F(CodePageTest, Utf8TextTakesTheActiveCodePage) {
  // 夜明け〜 with a WAVE DASH, é, a character beyond the BMP, a stray byte.
  const std::string tag = "\xE5\xA4\x9C\xE6\x98\x8E\xE3\x81\x91\xE3\x80\x9C \xC3\xA9 \xF0\x9F\x8E\xB5 \xFF.";
  setActiveCodePage(CodePage::Cp932);
  // 夜 0x96E9, 明 0x96BE, け 0x82AF, ～ 0x8160; é and the note are lacking.
  EXPECT_EQ(utf8ToActiveCodePage(tag), "\x96\xE9\x96\xBE\x82\xAF\x81\x60 ? ? ?.");
#ifndef _WIN32
  // Windows converts into its own ANSI code page (932 under the test runner).
  setActiveCodePage(CodePage::SingleByte);
  EXPECT_EQ(utf8ToActiveCodePage(tag), "???? \xE9 ? ?.");
#endif
  setActiveCodePage(CodePage::Utf8);
  EXPECT_EQ(utf8ToActiveCodePage(tag), "\xE5\xA4\x9C\xE6\x98\x8E\xE3\x81\x91\xE3\x80\x9C \xC3\xA9 \xF0\x9F\x8E\xB5 ?.");
  // A sequence cut off by the end, and an overlong one.
  EXPECT_EQ(utf8ToActiveCodePage("a\xE3\x81"), "a??");
  EXPECT_EQ(utf8ToActiveCodePage("\xC0\xAF"), "??");
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

// The code page rules checked against Windows itself: the system's lead-byte
// table and the C runtime's _mbsicmp under code page 932.
#include <gtest/gtest.h>
#include <mbctype.h>
#include <mbstring.h>
#include <windows.h>

#include <string>

#include "platform/codepage.h"
#include "tests/platform/cp932_order_pairs.h"

namespace orva::platform {
namespace {

int signOf(int v) { return (v > 0) - (v < 0); }

int runtimeOrder(const char* a, const char* b) {
  return signOf(_mbsicmp(reinterpret_cast<const unsigned char*>(a), reinterpret_cast<const unsigned char*>(b)));
}

class RuntimeCodePageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(_setmbcp(932), 0);
    setActiveCodePage(CodePage::Cp932);
  }
  void TearDown() override { setActiveCodePage(CodePage::System); }
};

TEST_F(RuntimeCodePageTest, LeadBytesMatchTheSystemTableForEveryByte) {
  for (unsigned c = 0; c < 256; ++c) {
    const auto b = static_cast<unsigned char>(c);
    EXPECT_EQ(isLeadByte(b), IsDBCSLeadByteEx(932, b) != 0) << std::hex << c;
  }
  // The system's own code page is 932 here; its answers are the same.
  setActiveCodePage(CodePage::System);
  for (unsigned c = 0; c < 256; ++c) {
    const auto b = static_cast<unsigned char>(c);
    EXPECT_EQ(isLeadByte(b), IsDBCSLeadByte(b) != 0) << std::hex << c;
  }
}

TEST_F(RuntimeCodePageTest, TheRuntimeOrdersTheTableAsWeDo) {
  for (const test::OrderPair& p : test::kCp932OrderPairs) {
    EXPECT_EQ(runtimeOrder(p.a, p.b), p.sign) << testing::PrintToString(p.a) << " vs " << testing::PrintToString(p.b);
    EXPECT_EQ(signOf(compareNoCase(p.a, p.b)), runtimeOrder(p.a, p.b));
  }
}

// Every double-byte character against a handful of others. The runtime
// here also maps duplicate encodings onto one another (NEC and IBM
// extensions, Roman numerals); those characters are left out, as our order
// keeps each code where cp932 puts it.
TEST_F(RuntimeCodePageTest, EveryDoubleByteCharacterSortsAsTheRuntimeSortsIt) {
  const char* probes[] = {"z",        "\xDF",     "\x81\x40", "\x82\x60", "\x82\x81", "\x83\x9F",
                          "\x84\x70", "\x88\x9F", "\x95\x5C", "\xE0\x40", "\xFC\x4B"};
  int checked = 0;
  int duplicates = 0;
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!isLeadByte(static_cast<unsigned char>(lead))) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      const char c[] = {static_cast<char>(lead), static_cast<char>(trail), 'a', '\0'};
      const unsigned code = lead << 8 | trail;
      const unsigned lowered = _mbctolower(code);
      const char low[] = {static_cast<char>(lowered >> 8), static_cast<char>(lowered), 'A', '\0'};
      if (lowered != code && compareNoCase(c, low) != 0) {
        ++duplicates;
        continue;
      }
      for (const char* probe : probes) {
        ASSERT_EQ(signOf(compareNoCase(c, probe)), runtimeOrder(c, probe)) << std::hex << code << " vs " << probe;
        ++checked;
      }
    }
  }
  EXPECT_GT(checked, 11 * 10000);
  RecordProperty("duplicates", duplicates);
}

}  // namespace
}  // namespace orva::platform

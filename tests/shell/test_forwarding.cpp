#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/rules/forwarding.h"

namespace orva {
namespace {

// "C:\音楽\表.mp3" in cp932: 表 is 0x95 0x5C, a trail byte that looks like a
// path separator.
const char kCp932Path[] = "\"C:\\\x89\xb9\x8a\x79\\\x95\x5c.mp3\"";

TEST(CommandLinePayload, CarriesTheTextAndItsNul) {
  CopyData p = commandLinePayload(kCp932Path);
  EXPECT_EQ(p.tag, kCommandLineTag);
  EXPECT_EQ(p.size, sizeof(kCp932Path));
  EXPECT_EQ(p.data, kCp932Path);

  p = commandLinePayload("");
  EXPECT_EQ(p.size, 1u);

  p = commandLinePayload(nullptr);
  EXPECT_EQ(p.size, 0u);
  EXPECT_EQ(p.data, nullptr);
}

TEST(AcceptForwardedText, TakesWhatTheSenderBuilds) {
  for (const char* text : {kCp932Path, "a.mp3 b.mp3", ""}) {
    char out[kForwardedTextCapacity];
    std::memset(out, 'x', sizeof(out));
    ASSERT_TRUE(acceptForwardedText(commandLinePayload(text), out, sizeof(out))) << text;
    EXPECT_STREQ(out, text);
  }
}

TEST(AcceptForwardedText, StopsAtTheFirstNulInside) {
  const char bytes[] = {'a', '.', 'm', 'p', '3', '\0', 'z', 'z'};
  char out[64];
  ASSERT_TRUE(acceptForwardedText({kCommandLineTag, sizeof(bytes), bytes}, out, sizeof(out)));
  EXPECT_STREQ(out, "a.mp3");
}

TEST(AcceptForwardedText, TextEndingAtTheLastDeclaredByte) {
  // 表 with its 0x5C trail byte right before the NUL, which is the last byte.
  const char bytes[] = {'\x95', '\x5c', '\0'};
  char out[3];
  ASSERT_TRUE(acceptForwardedText({kCommandLineTag, 3, bytes}, out, sizeof(out)));
  EXPECT_EQ(std::string(out), std::string("\x95\x5c"));

  // The same bytes declared one short: the NUL lies outside and is not read.
  EXPECT_FALSE(acceptForwardedText({kCommandLineTag, 2, bytes}, out, sizeof(out)));
  EXPECT_EQ(out[0], '\0');
}

TEST(AcceptForwardedText, RefusesPayloadsItCannotTrust) {
  const char text[] = "a.mp3";
  const char unterminated[] = {'a', '.', 'm', 'p', '3'};
  const struct {
    const char* what;
    CopyData payload;
  } cases[] = {
      {"another tag", {1, sizeof(text), text}},
      {"a tag only the high half differs in", {uint64_t{1} << 32, sizeof(text), text}},
      {"no NUL within size", {kCommandLineTag, sizeof(unterminated), unterminated}},
      {"null data with a size", {kCommandLineTag, 6, nullptr}},
      {"size 0", {kCommandLineTag, 0, text}},
      {"size 0, null data", {kCommandLineTag, 0, nullptr}},
  };
  for (const auto& c : cases) {
    char out[64] = "stale";
    EXPECT_FALSE(acceptForwardedText(c.payload, out, sizeof(out))) << c.what;
    EXPECT_EQ(out[0], '\0') << c.what;
  }
}

TEST(AcceptForwardedText, RefusesTextLongerThanTheBuffer) {
  const char text[] = "abcd";
  char out[5];
  EXPECT_TRUE(acceptForwardedText({kCommandLineTag, sizeof(text), text}, out, 5));
  EXPECT_FALSE(acceptForwardedText({kCommandLineTag, sizeof(text), text}, out, 4));
  EXPECT_EQ(out[0], '\0');
  EXPECT_FALSE(acceptForwardedText({kCommandLineTag, sizeof(text), text}, nullptr, 0));
}

}  // namespace
}  // namespace orva

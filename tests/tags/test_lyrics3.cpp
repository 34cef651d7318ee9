#include "tags/lyrics3.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/tags/tag_bytes.h"

namespace orva {
namespace {

using test::Bytes;
using test::tagBytes;

std::string block(const std::string& fields) {
  std::string body = "LYRICSBEGIN" + fields;
  char size[7];
  std::snprintf(size, sizeof size, "%06zu", body.size());
  return body + size + "LYRICS200";
}

int64_t find(const std::vector<uint8_t>& v, int32_t expected) {
  MemorySource src(v.data(), static_cast<int64_t>(v.size()));
  int64_t length = -5;
  EXPECT_EQ(findLyrics3(src, length), expected);
  return length;
}

TEST(Lyrics3Find, InFrontOfTheTagOrAtTheEnd) {
  std::string lyrics = block("IND00002" "10" "LYR00005" "hello");
  Bytes tagged;
  tagged.fill(300, 1).text(lyrics).bytes(tagBytes("t"));
  EXPECT_EQ(find(tagged.v, 1), static_cast<int64_t>(lyrics.size()));

  Bytes bare;
  bare.fill(300, 1).text(lyrics);
  EXPECT_EQ(find(bare.v, 1), static_cast<int64_t>(lyrics.size()));

  Bytes behindTag;  // a block after the tag is not where one belongs
  behindTag.fill(300, 1).bytes(tagBytes("t")).text(lyrics.substr(0, lyrics.size() - 1)).text("1");
  EXPECT_EQ(find(behindTag.v, 0), 0);
}

TEST(Lyrics3Find, SizeFieldsThatCannotBeTrusted) {
  Bytes huge;
  huge.fill(100, 1).text("999999LYRICS200").bytes(tagBytes("t"));
  EXPECT_EQ(find(huge.v, 0), 0) << "claims more than the file holds";

  Bytes exact;  // a size that takes every byte in front of it
  exact.text("LYRICSBEGIN").fill(89, 'x').text("000100LYRICS200");
  EXPECT_EQ(find(exact.v, 1), 115);
  exact.v.erase(exact.v.begin());
  EXPECT_EQ(find(exact.v, 0), 0);

  Bytes letters;
  letters.fill(100, 1).text("00 12aLYRICS200");
  EXPECT_EQ(find(letters.v, 0), 0);

  Bytes tiny;
  tiny.text("LYRICS200");
  EXPECT_EQ(find(tiny.v, 0), 0);
}

}  // namespace
}  // namespace orva

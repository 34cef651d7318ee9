#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "tags/info_writer.h"
#include "tags/lyrics3.h"
#include "tags/riff_walk.h"
#include "tests/support/test_support.h"
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
  std::string lyrics = block(
      "IND00002"
      "10"
      "LYR00005"
      "hello");
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

std::unique_ptr<Lyrics3Fields> emptyFields() {
  auto f = std::make_unique<Lyrics3Fields>();
  std::memset(f.get(), 0, sizeof *f);
  return f;
}

TEST(Lyrics3Block, EmptyBlockIs92BytesAndParsesBack) {
  auto fields = emptyFields();
  std::vector<uint8_t> out(kLyrics3MaxBlock);
  int64_t n = renderLyrics3(*fields, out.data());
  ASSERT_EQ(n, 92);
  EXPECT_EQ(std::string(out.begin(), out.begin() + n),
            "LYRICSBEGININD0000200LYR00000INF00000AUT00000EAL00000EAR00000ETT00000IMG00000000077LYRICS200");

  std::strcpy(fields->lyrics, "[00:01]la la  ");
  std::strcpy(fields->author, "someone");
  fields->indicators[0] = '1';
  n = renderLyrics3(*fields, out.data());
  auto back = emptyFields();
  ASSERT_TRUE(parseLyrics3(out.data(), n - kLyrics3Trailer, *back));
  EXPECT_STREQ(back->lyrics, "[00:01]la la") << "trailing blanks are not stored";
  EXPECT_STREQ(back->author, "someone");
  EXPECT_EQ(back->indicators[0], '1');
  EXPECT_EQ(back->indicators[1], '0');
}

TEST(Lyrics3Block, DamagedLengthsStayInsideTheBlock) {
  auto f = emptyFields();
  std::string b = "LYRICSBEGINLYR99999abc";  // claims far more than it has
  EXPECT_TRUE(parseLyrics3(reinterpret_cast<const uint8_t*>(b.data()), static_cast<int64_t>(b.size()), *f));
  EXPECT_STREQ(f->lyrics, "abc");
  std::string notDigits = "LYRICSBEGINAUT0x003abcLYR00002zz";
  parseLyrics3(reinterpret_cast<const uint8_t*>(notDigits.data()), static_cast<int64_t>(notDigits.size()), *f);
  EXPECT_STREQ(f->author, "");
  EXPECT_STREQ(f->lyrics, "") << "the walk ends at a length that is not digits";
  std::string noBegin = "LYRICSBEGAN";
  EXPECT_FALSE(parseLyrics3(reinterpret_cast<const uint8_t*>(noBegin.data()), 11, *f));
}

TEST(Lyrics3File, WriteAddsABlankTagAndRemoveLeavesAudioAndTag) {
  test::TempDir dir;
  std::string path = dir.file("a.mp3");
  auto audio = test::fakeAudio(300);
  ASSERT_TRUE(test::writeFileBytes(path, audio));
  auto fields = emptyFields();
  std::strcpy(fields->lyrics, "words");
  ASSERT_EQ(writeLyrics3Block(path.c_str(), fields.get(), 0), ENGINE_OK);
  auto v = test::readFileBytes(path);
  ASSERT_EQ(v.size(), 300u + 92 + 5 + 128);
  EXPECT_EQ(v.back(), 250) << "blank tag";
  auto back = emptyFields();
  ASSERT_EQ(readLyrics3Fields(path.c_str(), *back), ENGINE_OK);
  EXPECT_STREQ(back->lyrics, "words");

  ASSERT_EQ(writeLyrics3Block(path.c_str(), nullptr, 0), ENGINE_OK);
  v = test::readFileBytes(path);
  ASSERT_EQ(v.size(), 300u + 128);
  EXPECT_TRUE(std::equal(audio.begin(), audio.end(), v.begin()));
  EXPECT_EQ(0, std::memcmp(v.data() + 300, "TAG", 3));
}

TEST(Lyrics3File, RiffFileKeepsItsListConsistent) {
  test::TempDir dir;
  std::string path = dir.file("a.rmp");
  Bytes riff;
  riff.text("RIFF").le32(0).text("RMP3").chunk("data", test::fakeAudio(200));
  riff.fixRiffSize();
  ASSERT_TRUE(test::writeFileBytes(path, riff.v));
  InfoText text{};
  std::strcpy(text.slots[0], "Title");
  ASSERT_EQ(writeInfoFile(path.c_str(), text, 0), ENGINE_OK);
  for (int32_t mode : {0, 1, 2}) {
    auto fields = emptyFields();
    std::strcpy(fields->lyrics, "odd");
    ASSERT_EQ(writeLyrics3Block(path.c_str(), fields.get(), mode), ENGINE_OK);
    auto v = test::readFileBytes(path);
    EXPECT_EQ(readLe32(v.data() + 4), v.size() - 8);
    EXPECT_EQ(readLe32(v.data() + 224), v.size() - 228) << "LIST size";
    MemorySource src(v.data(), static_cast<int64_t>(v.size()));
    InfoText read{};
    RiffWalk walk;
    int64_t start = 0, size = src.size();
    ASSERT_EQ(walkRiffChunks(src, read, start, size, walk), ENGINE_OK);
    EXPECT_STREQ(read.slots[0], "Title");
    EXPECT_STREQ(read.slots[12], "") << "the carried block is not text";
    auto back = emptyFields();
    int32_t failure = 0;
    EXPECT_EQ(readLyrics3(src, *back, failure), mode == 2 ? 0 : 1);
  }
}

}  // namespace
}  // namespace orva

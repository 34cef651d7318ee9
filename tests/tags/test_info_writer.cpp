#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tags/id3v1.h"
#include "tags/info_writer.h"
#include "tests/support/test_support.h"
#include "tests/tags/tag_bytes.h"

namespace orva {
namespace {

using test::Bytes;
using test::VectorSink;

std::vector<uint8_t> render(const std::vector<uint8_t>& old, const InfoText& text, int32_t placement = 0,
                            int32_t expectedCode = 0) {
  MemorySource src(old.data(), static_cast<int64_t>(old.size()));
  VectorSink out;
  EXPECT_EQ(renderInfoRewrite(src, text, placement, nullptr, out), expectedCode);
  return out.v;
}

Bytes rmp3(size_t audio) {
  Bytes b;
  b.text("RIFF").le32(0).text("RMP3").chunk("data", test::fakeAudio(audio));
  return b;
}

// A Lyrics3 block of 44 + words.size() bytes.
std::string lyricsBlock(const std::string& words) {
  char length[6];
  std::snprintf(length, sizeof length, "%05zu", words.size());
  std::string body =
      "LYRICSBEGIN"
      "IND00002"
      "00"
      "LYR" +
      std::string(length) + words;
  char size[7];
  std::snprintf(size, sizeof size, "%06zu", body.size());
  return body + size + "LYRICS200";
}

TEST(InfoWriter, EmptySlotsGiveFourteenMinimalFieldsAndABlankTag) {
  Bytes old = rmp3(200);
  old.fixRiffSize();
  InfoText text{};
  auto v = render(old.v, text);
  ASSERT_EQ(v.size(), 220u + 8 + 280);
  EXPECT_EQ(0, std::memcmp(v.data() + 220, "LIST", 4));
  EXPECT_EQ(readLe32(v.data() + 224), 280u);
  EXPECT_EQ(readLe32(v.data() + 4), v.size() - 8);
  EXPECT_EQ(0, std::memcmp(v.data() + 232, "INAM\x01\0\0\0\0\0", 10));
  EXPECT_EQ(0, std::memcmp(v.data() + 232 + 40, "IGNR", 4)) << "genre is written before the date";
  EXPECT_EQ(0, std::memcmp(v.data() + 232 + 120, "ICMS", 4));
  EXPECT_EQ(0, std::memcmp(v.data() + 232 + 130, "ILYC", 4));
  EXPECT_EQ(0, std::memcmp(v.data() + 232 + 140, "IID3\x80\0\0\0", 8));
  uint8_t blank[128];
  makeBlankTag(blank);
  EXPECT_EQ(0, std::memcmp(v.data() + v.size() - 128, blank, 128));
  EXPECT_EQ(0, std::memcmp(v.data(), old.v.data(), 4));
  EXPECT_EQ(0, std::memcmp(v.data() + 8, old.v.data() + 8, 212)) << "audio unchanged";
}

TEST(InfoWriter, TextIsTrimmedAndPadded) {
  Bytes old = rmp3(200);
  InfoText text{};
  std::strcpy(text.slots[0], "abc   ");
  std::memset(text.slots[1], ' ', 128);  // a slot of blanks with no NUL
  auto v = render(old.v, text);
  // An even size takes no pad byte; the blank slot becomes an empty field.
  EXPECT_EQ(0, std::memcmp(v.data() + 232, "INAM\x04\0\0\0abc\0", 12));
  EXPECT_EQ(0, std::memcmp(v.data() + 244, "IART\x01\0\0\0\0\0", 10));
}

TEST(InfoWriter, OddAudioGetsAZeroByteAndRunningTwiceIsStable) {
  Bytes old = rmp3(201);
  old.fill(1, 0xEE).bytes(test::tagBytes("kept"));  // a pad-less junk byte and an old tag
  InfoText text{};
  std::strcpy(text.slots[4], "2024");
  auto once = render(old.v, text);
  EXPECT_EQ(once[221], 0);
  EXPECT_EQ(0, std::memcmp(once.data() + 222, "LIST", 4));
  EXPECT_EQ(0, std::memcmp(once.data() + once.size() - 128, test::tagBytes("kept").data(), 128));
  auto twice = render(once, text);
  EXPECT_EQ(once, twice);
}

TEST(InfoWriter, LyricsPlacementModes) {
  std::string lyrics = lyricsBlock("la");
  ASSERT_EQ(lyrics.size(), 46u);
  Bytes old = rmp3(200);
  old.text(lyrics).bytes(test::tagBytes("t"));
  InfoText text{};
  std::strcpy(text.slots[12], "words");

  auto m0 = render(old.v, text, 0);
  size_t ilyc = 232 + 13 * 10;
  EXPECT_EQ(0, std::memcmp(m0.data() + ilyc, "ILYC", 4));
  EXPECT_EQ(readLe32(m0.data() + ilyc + 4), 46u + 128);
  EXPECT_EQ(m0.size(), ilyc + 8 + 46 + 128);
  EXPECT_EQ(0, std::memcmp(m0.data() + ilyc + 8, lyrics.data(), 46));

  auto m1 = render(old.v, text, 1);
  EXPECT_EQ(0, std::memcmp(m1.data() + ilyc, "ILYC\x06\0\0\0words\0", 14));
  EXPECT_EQ(0, std::memcmp(m1.data() + ilyc + 14, "IID3", 4));
  EXPECT_EQ(readLe32(m1.data() + ilyc + 18), 46u + 128);
  EXPECT_EQ(m1.size(), ilyc + 14 + 8 + 46 + 128);

  auto m2 = render(old.v, text, 2);
  EXPECT_EQ(readLe32(m2.data() + ilyc + 18), 128u);
  EXPECT_EQ(m2.size(), ilyc + 14 + 8 + 128);
  for (const auto* v : {&m0, &m1, &m2}) {
    EXPECT_EQ(readLe32(v->data() + 4), v->size() - 8);
    EXPECT_EQ(readLe32(v->data() + 224), v->size() - 228);
  }

  Bytes odd = rmp3(200);  // an odd block gets a leading zero byte
  std::string oddLyrics = lyricsBlock("lal");
  odd.text(oddLyrics).bytes(test::tagBytes("t"));
  auto m0odd = render(odd.v, text, 0);
  EXPECT_EQ(readLe32(m0odd.data() + ilyc + 4), 48u + 128);
  EXPECT_EQ(m0odd[ilyc + 8], 0);
  EXPECT_EQ(0, std::memcmp(m0odd.data() + ilyc + 9, oddLyrics.data(), 47));
}

TEST(InfoWriter, RefusesWhatItCannotWrite) {
  InfoText text{};
  Bytes mpeg;
  mpeg.bytes(test::fakeAudio(300));
  render(mpeg.v, text, 0, ENGINE_ERR_RIFF_KIND);
  Bytes noData;
  noData.text("RIFF").le32(0).text("WAVE").fmt(1).fill(200, 0);
  render(noData.v, text, 0, ENGINE_ERR_READ);
  Bytes shortFile = rmp3(10);
  render(shortFile.v, text, 0, ENGINE_ERR_READ);
}

TEST(InfoWriter, WritesTheFileByPath) {
  test::TempDir dir;
  std::string path = dir.file("a.rmp");
  Bytes old = rmp3(200);
  old.fixRiffSize();
  ASSERT_TRUE(test::writeFileBytes(path, old.v));
  InfoText text{};
  std::strcpy(text.slots[0], "Name");
  ASSERT_EQ(writeInfoFile(path.c_str(), text, 0), ENGINE_OK);
  EXPECT_EQ(test::readFileBytes(path), render(old.v, text));
  EXPECT_EQ(writeInfoFile(dir.file("missing.rmp").c_str(), text, 0), ENGINE_ERR_OPEN);
}

}  // namespace
}  // namespace orva

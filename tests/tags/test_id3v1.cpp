#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tags/id3v1.h"
#include "tests/tags/tag_bytes.h"

namespace orva {
namespace {

using test::Bytes;
using test::tagBytes;

std::string trimmed(const std::string& field30) {
  char out[31];
  std::memset(out, 'x', sizeof out);
  trimTagText(out, field30.data());
  return std::string(out);
}

TEST(TrimTagText, CutsTrailingSpacesButNeverTheFirstCharacter) {
  EXPECT_EQ(trimmed(std::string(30, ' ')), " ");
  EXPECT_EQ(trimmed("abc" + std::string(27, ' ')), "abc");
  EXPECT_EQ(trimmed("abc" + std::string(27, '\0')), "abc");
  EXPECT_EQ(trimmed("a b" + std::string(27, ' ')), "a b");
  EXPECT_EQ(trimmed(std::string(30, 'z')), std::string(30, 'z'));
  EXPECT_EQ(trimmed("abc" + std::string(26, '\0') + " "), "abc");
}

TEST(Id3v1Parse, ReadsFieldsAndRawYear) {
  Bytes b;
  b.text("TAG").text("Title").fill(25, ' ').text("Artist").fill(24, 0).text(std::string(30, ' '));
  b.text("99  ").text("Comment").fill(23, ' ').fill(1, 147);
  ASSERT_EQ(b.v.size(), 128u);
  Id3v1Record r;
  std::memset(&r, 0x55, sizeof r);
  ASSERT_TRUE(parseId3v1(b.v.data(), r));
  EXPECT_STREQ(r.title, "Title");
  EXPECT_STREQ(r.artist, "Artist");
  EXPECT_STREQ(r.album, " ");
  EXPECT_STREQ(r.year, "99  ");
  EXPECT_STREQ(r.comment, "Comment");
  EXPECT_EQ(r.genre, 147);
  EXPECT_STREQ(r.genreName, "Synthpop");
  EXPECT_EQ(r.title[127], 0) << "record is zero-filled before the fields";
}

TEST(Id3v1Parse, RejectsBytesWithoutTheIdentifier) {
  auto t = tagBytes("x");
  t[2] = 'g';
  Id3v1Record r{};
  r.genre = 77;
  EXPECT_FALSE(parseId3v1(t.data(), r));
  EXPECT_EQ(r.genre, 77);
}

TEST(Id3v1Parse, TrackOfVersionOneOne) {
  auto t = tagBytes("x");
  std::memcpy(t.data() + 97, "hello", 5);
  t[97 + 28] = 0;
  t[97 + 29] = 7;
  Id3v11Record r;
  ASSERT_TRUE(parseId3v11(t.data(), r));
  EXPECT_EQ(r.track, 7);
  EXPECT_EQ(r.comment[29], 0);
  EXPECT_STREQ(r.comment, "hello");

  std::memset(t.data() + 97, 'c', 30);
  ASSERT_TRUE(parseId3v11(t.data(), r));
  EXPECT_EQ(r.track, -1);
  EXPECT_EQ(std::string(r.comment), std::string(30, 'c'));
}

TEST(Genres, TableShapeAndNamedEnds) {
  for (int i = 0; i < 256; ++i) ASSERT_NE(GENRE_NAMES[i], nullptr) << i;
  for (int i = 0; i < 148; ++i) EXPECT_STREQ(DIALOG_GENRE_NAMES[i], GENRE_NAMES[i]);
  EXPECT_STREQ(genreName(0), "Blues");
  EXPECT_STREQ(genreName(52), "Electronic");
  EXPECT_STREQ(genreName(147), "Synthpop");
  EXPECT_STREQ(genreName(148), "");
  EXPECT_STREQ(genreName(200), "");
  EXPECT_STREQ(genreName(250), "");
  EXPECT_STREQ(genreName(251), "Seiyu(J)");
  EXPECT_STREQ(genreName(255), "Anime(J)");
  EXPECT_STREQ(genreName(256 + 13), "Pop") << "low 8 bits";
  EXPECT_STREQ(genreName(-1), "Anime(J)");
}

TEST(Id3v1Render, RoundTripsAndClampsGenre) {
  Id3v1Record r{};
  std::strcpy(r.title, "A title of exactly thirty char");
  std::strcpy(r.artist, "Art");
  std::memset(r.artist + 4, 'G', 20);  // bytes behind the NUL are not written
  std::strcpy(r.year, "2024");
  std::strcpy(r.comment, "c");
  for (int genre : {-1, 300}) {
    r.genre = genre;
    uint8_t tag[128];
    renderId3v1(r, tag);
    EXPECT_EQ(r.genre, 200);
    EXPECT_EQ(tag[127], 200);
    EXPECT_EQ(tag[33 + 3], 0);
    EXPECT_EQ(tag[33 + 10], 0);
    Id3v1Record back;
    ASSERT_TRUE(parseId3v1(tag, back));
    EXPECT_STREQ(back.title, r.title);
    EXPECT_STREQ(back.artist, "Art");
    EXPECT_STREQ(back.year, "2024");
  }
}

TEST(Id3v1Render, VersionOneOneTrack) {
  Id3v11Record r{};
  std::strcpy(r.comment, "a comment of thirty characters");
  r.track = 9;
  r.genre = 13;
  uint8_t tag[128];
  renderId3v11(r, tag);
  EXPECT_EQ(tag[97 + 28], 0);
  EXPECT_EQ(tag[97 + 29], 9);
  Id3v11Record back;
  ASSERT_TRUE(parseId3v11(tag, back));
  EXPECT_EQ(back.track, 9);
  EXPECT_EQ(std::string(back.comment), std::string("a comment of thirty characters", 28));

  r.track = -1;
  std::strcpy(r.comment, "a comment of thirty characters");
  renderId3v11(r, tag);
  EXPECT_EQ(tag[97 + 29], 's');
}

TEST(Id3v1Render, BlankTag) {
  uint8_t tag[128];
  makeBlankTag(tag);
  EXPECT_EQ(0, std::memcmp(tag, "TAG", 3));
  for (int i = 3; i < 127; ++i) ASSERT_EQ(tag[i], ' ');
  EXPECT_EQ(tag[127], 250);
}

TEST(Id3v1Read, LastBytesOfSourceOnly) {
  Bytes b;
  b.fill(50, 0xAA).bytes(tagBytes("Song", 17));
  MemorySource src(b.v.data(), static_cast<int64_t>(b.v.size()));
  Id3v1Record r{};
  EXPECT_EQ(readId3v1(src, r), 1);
  EXPECT_STREQ(r.title, "Song");
  EXPECT_STREQ(r.genreName, "Rock");

  MemorySource shorter(b.v.data() + 1, static_cast<int64_t>(b.v.size()) - 2);
  EXPECT_EQ(readId3v1(shorter, r), 0);
  MemorySource tiny(b.v.data() + 50, 127);
  EXPECT_EQ(readId3v1(tiny, r), 0) << "shorter than a tag";
}

TEST(Id3v2Skip, SynchsafeSizeAndBounds) {
  Bytes b;
  b.fill(5, 0).text("ID3").fill(3, 0).fill(1, 0).fill(1, 0).fill(1, 2).fill(1, 1).fill(400, 0);
  MemorySource src(b.v.data(), static_cast<int64_t>(b.v.size()));
  int64_t offset = 5;
  EXPECT_EQ(skipId3v2Header(src, offset), 1);
  EXPECT_EQ(offset, 5 + 267);

  offset = 0;
  EXPECT_EQ(skipId3v2Header(src, offset), 0);
  EXPECT_EQ(offset, 0);

  // A size beyond the file stops at its end.
  b.v[5 + 6] = 0x7F;
  offset = 5;
  EXPECT_EQ(skipId3v2Header(src, offset), 1);
  EXPECT_EQ(offset, static_cast<int64_t>(b.v.size()));

  offset = static_cast<int64_t>(b.v.size()) - 5;
  EXPECT_EQ(skipId3v2Header(src, offset), 0) << "header cut off";
}

}  // namespace
}  // namespace orva

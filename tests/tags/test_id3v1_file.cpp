#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/os_error.h"
#include "tags/file_rewrite.h"
#include "tags/id3v1.h"
#include "tags/id3v1_file.h"
#include "tags/riff_walk.h"
#include "tests/support/test_support.h"
#include "tests/tags/tag_bytes.h"

namespace orva {
namespace {

using test::Bytes;

Id3v1Record record(const char* title, int32_t genre = 13) {
  Id3v1Record r{};
  std::strcpy(r.title, title);
  std::strcpy(r.artist, "Artist");
  std::strcpy(r.year, "2001");
  r.genre = genre;
  return r;
}

std::vector<uint8_t> rendered(Id3v1Record r) {
  std::vector<uint8_t> t(128);
  renderId3v1(r, t.data());
  return t;
}

struct Fixture : ::testing::Test {
  test::TempDir dir;
  std::string path = dir.file("song.mp3");
  void put(const std::vector<uint8_t>& v) { ASSERT_TRUE(test::writeFileBytes(path, v)); }
  std::vector<uint8_t> get() { return test::readFileBytes(path); }
  uint8_t written[128] = {};
  size_t filesInDir() {
    size_t n = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++n;
    return n;
  }
  void TearDown() override { platform::disarmFileFaultsForTests(); }
};

using Id3v1File = Fixture;

TEST_F(Id3v1File, ReadByPath) {
  Bytes b;
  b.bytes(test::fakeAudio(500)).bytes(test::tagBytes("Hello", 52));
  put(b.v);
  Id3v1Record r;
  std::memset(&r, 0x77, sizeof r);
  EXPECT_EQ(tagReadId3v1File(path.c_str(), &r), ENGINE_OK);
  EXPECT_STREQ(r.title, "Hello");
  EXPECT_STREQ(r.genreName, "Electronic");

  put(test::fakeAudio(500));
  std::memset(&r, 0x77, sizeof r);
  EXPECT_EQ(tagReadId3v1File(path.c_str(), &r), ENGINE_OK) << "no tag is still success";
  EXPECT_EQ(r.title[0], 0);
  EXPECT_EQ(r.genre, 0);

  EXPECT_EQ(tagReadId3v1File(dir.file("none.mp3").c_str(), &r), ENGINE_ERR_OPEN);
  EXPECT_EQ(tagReadId3v11File("", nullptr), ENGINE_ERR_ARGUMENT);
  Id3v11Record r11;
  EXPECT_EQ(tagReadId3v11File(dir.path().c_str(), &r11), ENGINE_ERR_OPEN) << "a folder";
}

TEST_F(Id3v1File, OverwriteAppendAndRefuse) {
  auto audio = test::fakeAudio(700);
  Bytes tagged;
  tagged.bytes(audio).bytes(test::tagBytes("Old"));
  put(tagged.v);
  Id3v1Record r = record("New", -5);
  ASSERT_EQ(tagWriteId3v1(path.c_str(), &r, 0, 0, written), ENGINE_OK);
  EXPECT_EQ(r.genre, 200);
  Bytes expect;
  expect.bytes(audio).bytes(rendered(r));
  EXPECT_EQ(get(), expect.v);
  EXPECT_EQ(filesInDir(), 1u) << "no temporary file left behind";

  put(audio);
  EXPECT_EQ(tagWriteId3v1(path.c_str(), &r, 0, 0, written), ENGINE_ERR_WRITE);
  EXPECT_EQ(get(), audio);

  ASSERT_EQ(tagWriteId3v1(path.c_str(), &r, 1, 0, written), ENGINE_OK);
  EXPECT_EQ(get(), expect.v);

  put(std::vector<uint8_t>(127, 0xFF));
  EXPECT_EQ(tagWriteId3v1(path.c_str(), &r, 1, 0, written), ENGINE_ERR_READ);
  EXPECT_EQ(filesInDir(), 1u);
}

TEST_F(Id3v1File, VersionOneOne) {
  put(test::fakeAudio(300));
  Id3v11Record r{};
  std::strcpy(r.title, "Track");
  std::strcpy(r.comment, "note");
  r.track = 12;
  r.genre = 255;
  ASSERT_EQ(tagWriteId3v11(path.c_str(), &r, 1, 0, written), ENGINE_OK);
  Id3v11Record back;
  ASSERT_EQ(tagReadId3v11File(path.c_str(), &back), ENGINE_OK);
  EXPECT_EQ(back.track, 12);
  EXPECT_STREQ(back.comment, "note");
  EXPECT_STREQ(back.genreName, "Anime(J)");
  EXPECT_EQ(0, std::memcmp(written, get().data() + get().size() - 128, 128)) << "the bytes written are handed back";
}

TEST_F(Id3v1File, RiffWithListGetsAnIid3SubChunk) {
  Bytes b;
  b.text("RIFF").le32(0).text("RMP3").chunk("data", test::fakeAudio(200));
  Bytes list;
  list.text("INFO").info("INAM", "Name");
  size_t listAt = b.v.size();
  b.chunk("LIST", list.v).fixRiffSize();
  put(b.v);
  Id3v1Record r = record("Tagged");
  ASSERT_EQ(tagWriteId3v1(path.c_str(), &r, 1, 0, written), ENGINE_OK);
  auto v = get();
  ASSERT_EQ(v.size(), b.v.size() + 136);
  EXPECT_EQ(readLe32(v.data() + 4), v.size() - 8);
  EXPECT_EQ(readLe32(v.data() + listAt + 4), list.v.size() + 136);
  EXPECT_EQ(0, std::memcmp(v.data() + b.v.size(), "IID3\x80\0\0\0", 8));
  EXPECT_EQ(0, std::memcmp(v.data() + v.size() - 128, rendered(r).data(), 128));
  EXPECT_EQ(0, std::memcmp(v.data() + 8, b.v.data() + 8, listAt - 8 + 4));

  Id3v1Record back;
  ASSERT_EQ(tagReadId3v1File(path.c_str(), &back), ENGINE_OK);
  EXPECT_STREQ(back.title, "Tagged");
  // The walk still finds the INFO text with the tag behind it.
  MemorySource src(v.data(), static_cast<int64_t>(v.size()));
  InfoText info;
  RiffWalk walk;
  int64_t start = 0, size = static_cast<int64_t>(v.size());
  ASSERT_EQ(walkRiffChunks(src, info, start, size, walk), ENGINE_OK);
  EXPECT_STREQ(info.slots[0], "Name");
}

TEST_F(Id3v1File, RiffWithoutListGoesThroughTheInfoWriter) {
  Bytes b;
  b.text("RIFF").le32(0).text("WAVE").fmt(85, 30).chunk("data", test::fakeAudio(99)).fixRiffSize();
  put(b.v);
  Id3v1Record r = record("Wrapped");
  ASSERT_EQ(tagWriteId3v1(path.c_str(), &r, 1, 0, written), ENGINE_OK);
  auto v = get();
  size_t listAt = b.v.size() + 1;  // after the zero pad of the odd audio
  ASSERT_EQ(v.size(), listAt + 8 + 280);
  EXPECT_EQ(v[listAt - 1], 0);
  EXPECT_EQ(0, std::memcmp(v.data() + listAt, "LIST", 4));
  EXPECT_EQ(0, std::memcmp(v.data() + v.size() - 136, "IID3", 4));
  EXPECT_EQ(0, std::memcmp(v.data() + v.size() - 128, rendered(r).data(), 128));
  EXPECT_EQ(readLe32(v.data() + 4), v.size() - 8);

  // A LIST chunk that does not end the file is rewritten with its text kept.
  Bytes t;
  Bytes list;
  list.text("INFO").info("IART", "Someone");
  t.text("RIFF").le32(0).text("RMP3").chunk("data", test::fakeAudio(200)).chunk("LIST", list.v);
  t.chunk("junk", {1, 2, 3, 4}).fixRiffSize();
  put(t.v);
  ASSERT_EQ(tagWriteId3v1(path.c_str(), &r, 1, 0, written), ENGINE_OK);
  v = get();
  MemorySource src(v.data(), static_cast<int64_t>(v.size()));
  InfoText info;
  RiffWalk walk;
  int64_t start = 0, size = static_cast<int64_t>(v.size());
  ASSERT_EQ(walkRiffChunks(src, info, start, size, walk), ENGINE_OK);
  EXPECT_STREQ(info.slots[1], "Someone");
  EXPECT_EQ(walk.listOffset + 8 + walk.listSize, static_cast<int64_t>(v.size()));
  EXPECT_EQ(0, std::memcmp(v.data() + v.size() - 128, rendered(r).data(), 128));
}

TEST_F(Id3v1File, FailureAtAnyStepLeavesTheOldFile) {
  // A new tag on bare audio: the file is rewritten beside itself and replaced.
  auto audio = test::fakeAudio(40000);
  put(audio);
  Id3v1Record r = record("New");
  platform::FileFaultPlan failedWrite;
  failedWrite.failWriteAt = 1;
  platform::FileFaultPlan shortWrite;
  shortWrite.shortWriteAt = 1;
  platform::FileFaultPlan diskFull;
  diskFull.diskFullAfter = 1000;
  platform::FileFaultPlan failedReplace;
  failedReplace.failReplace = true;
  for (const platform::FileFaultPlan& plan : {failedWrite, shortWrite, diskFull, failedReplace}) {
    platform::armFileFaultsForTests(plan);
    EXPECT_EQ(tagWriteId3v1(path.c_str(), &r, 1, 0, written), ENGINE_ERR_WRITE);
    platform::disarmFileFaultsForTests();
    EXPECT_EQ(get(), audio);
    EXPECT_EQ(filesInDir(), 1u);
  }
}

TEST_F(Id3v1File, ATagOverAnOldOneIsWrittenInPlaceAndNeverTorn) {
  Bytes b;
  b.bytes(test::fakeAudio(40000)).bytes(test::tagBytes("Old"));
  put(b.v);
  Id3v1Record r = record("New");
  Bytes expect;
  expect.bytes(test::fakeAudio(40000)).bytes(rendered(r));

  // One write of 128 bytes: the audio is never written, nothing is replaced.
  platform::FileFaultPlan failedReplace;
  failedReplace.failReplace = true;
  platform::armFileFaultsForTests(failedReplace);
  EXPECT_EQ(tagWriteId3v1(path.c_str(), &r, 0, 0, written), ENGINE_OK);
  EXPECT_EQ(platform::fileWritesForTests(), 1);
  platform::disarmFileFaultsForTests();
  EXPECT_EQ(get(), expect.v);

  // A failed or short write puts the old tag back.
  platform::FileFaultPlan failedWrite;
  failedWrite.failWriteAt = 1;
  platform::FileFaultPlan shortWrite;
  shortWrite.shortWriteAt = 1;
  for (const platform::FileFaultPlan& plan : {failedWrite, shortWrite}) {
    put(b.v);
    platform::armFileFaultsForTests(plan);
    EXPECT_EQ(tagWriteId3v1(path.c_str(), &r, 1, 0, written), ENGINE_ERR_WRITE);
    platform::disarmFileFaultsForTests();
    EXPECT_EQ(get(), b.v);
    EXPECT_EQ(filesInDir(), 1u);
  }
}

TEST_F(Id3v1File, AFailedWriteKeepsTheSystemsReasonAndTheNextWriteForgetsIt) {
  Id3v1Record r = record("New");
  EXPECT_EQ(tagWriteId3v1(dir.path().c_str(), &r, 1, 0, written), ENGINE_ERR_OPEN) << "a folder";
  platform::OsError error = platform::lastOsError();
  EXPECT_NE(error.kind, platform::OsErrorKind::None);
  EXPECT_STREQ(error.api, "opening the file for writing");

  put(test::fakeAudio(300));
  ASSERT_EQ(tagWriteId3v1(path.c_str(), &r, 1, 0, written), ENGINE_OK);
  EXPECT_EQ(platform::lastOsError().kind, platform::OsErrorKind::None);
  ASSERT_EQ(tagWriteId3v1(dir.path().c_str(), &r, 0, 0, written), ENGINE_ERR_OPEN);
  ASSERT_EQ(tagWriteId3v1(path.c_str(), &r, 0, 0, written), ENGINE_OK) << "in place";
  EXPECT_EQ(platform::lastOsError().kind, platform::OsErrorKind::None);
}

TEST_F(Id3v1File, CorpusTagsReadAndRoundTrip) {
  std::string shared = test::sharedDir();
  if (shared.empty()) GTEST_SKIP() << "the shared corpus is absent";
  std::string corpus = test::joinPath(shared, "corpus");
  Id3v11Record r;
  ASSERT_EQ(tagReadId3v11File(test::joinPath(corpus, "l3_tag_id3v1_cp932_chord.mp3").c_str(), &r), ENGINE_OK);
  EXPECT_STREQ(r.title, "\x98\x61\x89\xB9\x82\xCC\x83\x65\x83\x58\x83\x67");  // 和音のテスト
  EXPECT_STREQ(r.year, "2003");
  EXPECT_EQ(r.track, 3);
  EXPECT_EQ(r.genre, 13);

  Id3v1Record plain;
  ASSERT_EQ(tagReadId3v1File(test::joinPath(corpus, "l3_tag_id3v1_chord.mp3").c_str(), &plain), ENGINE_OK);
  EXPECT_STREQ(plain.title, "Synth Chord");
  EXPECT_STREQ(plain.genreName, "Electronic");

  // Rewriting the tag of the Lyrics3 file keeps the block in front of it.
  auto original = test::readFileBytes(test::joinPath(corpus, "l3_tag_lyrics3v2_sine.mp3"));
  ASSERT_GT(original.size(), 128u);
  put(original);
  Id3v1Record edited = record("Edited");
  ASSERT_EQ(tagWriteId3v1(path.c_str(), &edited, 0, 0, written), ENGINE_OK);
  auto v = get();
  ASSERT_EQ(v.size(), original.size());
  EXPECT_TRUE(std::equal(v.begin(), v.end() - 128, original.begin()));
  EXPECT_EQ(0, std::memcmp(v.data() + v.size() - 128, rendered(edited).data(), 128));
}

}  // namespace
}  // namespace orva

// Every operation that rewrites a file, run with the file layer failing at
// each read and write it performs, with short writes and with a full disk:
// afterwards the file is either the old one or the complete new one, and
// no temporary file is left beside it.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "engine/engine_testing.h"
#include "orva_engine.h"
#include "platform/file.h"
#include "tags/convert.h"
#include "tags/id3v1_file.h"
#include "tags/info_writer.h"
#include "tags/lyrics3.h"
#include "tests/support/test_support.h"
#include "tests/tags/tag_bytes.h"

namespace orva {
namespace {

using test::Bytes;

struct Operation {
  const char* name;
  std::vector<uint8_t> old;
  std::function<int32_t(const char*)> run;
};

std::vector<uint8_t> riffFile(bool withList) {
  Bytes b;
  b.text("RIFF").le32(0).text("RMP3").chunk("data", test::fakeAudio(301)).fill(1, 0);
  if (withList) b.text("LIST").le32(4).text("INFO");
  b.fixRiffSize();
  return b.v;
}

std::vector<uint8_t> mpegFile(bool tagged) {
  Bytes b;
  b.bytes(test::fakeAudio(900));
  if (tagged) b.bytes(test::tagBytes("old"));
  return b.v;
}

std::vector<Operation> operations() {
  static Id3v1Record record{};
  static uint8_t written[128];
  std::strcpy(record.title, "new title");
  static InfoText text{};
  std::strcpy(text.slots[0], "name");
  static auto longText = std::make_unique<InfoTextLong>();
  std::strcpy(longText->slots[16], "lyrics text");
  static auto fields = std::make_unique<Lyrics3Fields>();
  std::strcpy(fields->lyrics, "[0:01]words");

  Bytes headed;
  headed.fill(128, 0).bytes(mpegFile(true));
  Bytes withBlock;
  withBlock.bytes(test::fakeAudio(500))
      .text("LYRICSBEGININD0000200LYR00001aINF00000AUT00000EAL00000EAR00000ETT00000IMG00000000078LYRICS200")
      .bytes(test::tagBytes("t"));
  return {
      {"id3v1 create on MPEG", mpegFile(false), [](const char* p) { return tagWriteId3v1(p, &record, 1, 0, written); }},
      {"id3v1 create on RIFF", riffFile(false), [](const char* p) { return tagWriteId3v1(p, &record, 1, 0, written); }},
      {"writeInfo", riffFile(true), [](const char* p) { return writeInfoFile(p, text, 0); }},
      {"writeInfoLong", riffFile(true), [](const char* p) { return writeInfoLongFile(p, *longText, 0); }},
      {"Lyrics3 write", mpegFile(true), [](const char* p) { return writeLyrics3Block(p, fields.get(), 0); }},
      {"Lyrics3 write on RIFF", riffFile(true), [](const char* p) { return writeLyrics3Block(p, fields.get(), 0); }},
      {"Lyrics3 remove", withBlock.v, [](const char* p) { return writeLyrics3Block(p, nullptr, 0); }},
      {"convertToRmp3", withBlock.v, [](const char* p) { return convertFileToRmp3(p, 0); }},
      {"convertToWaveMpeg", mpegFile(true), [](const char* p) { return convertFileToWaveMpeg(p, 0); }},
      {"convertToMpeg", riffFile(true), [](const char* p) { return convertFileToMpeg(p); }},
      {"stripLeadingHeader", headed.v, [](const char* p) { return stripFileLeadingHeader(p); }},
  };
}

size_t filesIn(const std::string& dir) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

class NeverLose : public ::testing::Test {
 protected:
  void TearDown() override { platform::disarmFileFaultsForTests(); }

  // Runs `op` under `plan` and checks what is left.
  void check(const Operation& op, const platform::FileFaultPlan& plan, const std::vector<uint8_t>& expected,
             const std::string& what) {
    ASSERT_TRUE(test::writeFileBytes(path_, op.old));
    platform::armFileFaultsForTests(plan);
    int32_t result = op.run(path_.c_str());
    platform::disarmFileFaultsForTests();
    ++checks_;
    auto now = test::readFileBytes(path_);
    if (result == ENGINE_OK) {
      EXPECT_EQ(now, expected) << op.name << ": " << what << " reported success";
    } else {
      EXPECT_EQ(now, op.old) << op.name << ": " << what << " failed but changed the file";
    }
    EXPECT_EQ(filesIn(dir_.path()), 1u) << op.name << ": " << what << " left a file behind";
  }

  test::TempDir dir_;
  std::string path_ = dir_.file("track.mp3");
  int64_t checks_ = 0;
};

TEST_F(NeverLose, EveryReadAndWriteOfEveryRewriteMayFail) {
  for (const Operation& op : operations()) {
    ASSERT_TRUE(test::writeFileBytes(path_, op.old));
    platform::armFileFaultsForTests({});
    ASSERT_EQ(op.run(path_.c_str()), ENGINE_OK) << op.name;
    const int64_t reads = platform::fileReadsForTests();
    const int64_t writes = platform::fileWritesForTests();
    platform::disarmFileFaultsForTests();
    const auto expected = test::readFileBytes(path_);
    ASSERT_NE(expected, op.old) << op.name;
    ASSERT_GT(writes, 0) << op.name;

    for (int64_t n = 1; n <= writes; ++n) {
      platform::FileFaultPlan plan;
      plan.failWriteAt = n;
      check(op, plan, expected, "write " + std::to_string(n));
      plan = {};
      plan.shortWriteAt = n;
      check(op, plan, expected, "short write " + std::to_string(n));
    }
    for (int64_t n = 1; n <= reads; ++n) {
      platform::FileFaultPlan plan;
      plan.failReadAt = n;
      check(op, plan, expected, "read " + std::to_string(n));
    }
    const int64_t size = static_cast<int64_t>(expected.size());
    for (int64_t room = 0; room <= size; room += (room < 16 ? 1 : 61)) {
      platform::FileFaultPlan plan;
      plan.diskFullAfter = room;
      check(op, plan, expected, "disk full after " + std::to_string(room));
    }
    platform::FileFaultPlan plan;
    plan.failReplace = true;
    check(op, plan, expected, "replace");
  }
  RecordProperty("faultyRuns", std::to_string(checks_));
}

// The player holds the file open (as engineOpen does) while the information
// dialog converts it. The conversion must succeed or leave the old file; the
// player keeps reading what it opened.
TEST(NeverLoseWhilePlaying, ConvertingTheOpenFile) {
  std::string sample = test::joinPath(test::joinPath(test::sourceDir(), "samples"), "orva-theme.mp3");
  auto old = test::readFileBytes(sample);
  ASSERT_FALSE(old.empty()) << sample;
  test::TempDir dir;
  std::string path = dir.file("playing.mp3");
  ASSERT_TRUE(test::writeFileBytes(path, old));
  setEngineSleepsForTesting(false);
  engineInit();
  StreamInfo info{};
  ASSERT_EQ(engineOpen(path.c_str(), &info), 1);

  int32_t converted = convertToRmp3(path.c_str());
  RecordProperty("converted", converted);
  auto now = test::readFileBytes(path);
  if (converted == 1) {
    ASSERT_GT(now.size(), old.size());
    EXPECT_EQ(0, std::memcmp(now.data(), "RIFF", 4));
    EXPECT_TRUE(std::equal(old.begin(), old.end() - 128, now.begin() + 20)) << "the audio moved whole";
  } else {
    EXPECT_EQ(now, old) << "a refused conversion leaves the file";
  }
  FileInfo header{};
  EXPECT_EQ(engineGetHeaderInfo(&header), 1) << "the open stream is still there";
  EXPECT_EQ(engineClose(), 1);
  EXPECT_EQ(filesIn(dir.path()), 1u);
  if (converted == 1) {
    EXPECT_EQ(convertToMpeg(path.c_str()), 1);
    EXPECT_EQ(test::readFileBytes(path), old);
  }
  setEngineSleepsForTesting(true);
}

}  // namespace
}  // namespace orva

#include <gtest/gtest.h>

#include <string>

#include "platform/file.h"
#include "tags/riff_walk.h"
#include "tests/support/test_support.h"
#include "tests/tags/tag_bytes.h"

namespace orva {
namespace {

using test::Bytes;

struct Walked {
  int32_t found;
  int64_t start;
  int64_t size;
  RiffWalk walk;
  InfoText info;
};

Walked walkBytes(const std::vector<uint8_t>& v) {
  Walked w{};
  MemorySource src(v.data(), static_cast<int64_t>(v.size()));
  w.start = 0;
  w.size = static_cast<int64_t>(v.size());
  w.found = walkRiffChunks(src, w.info, w.start, w.size, w.walk) == ENGINE_OK ? 1 : 0;
  return w;
}

Bytes riffHeader(const char* form = "WAVE") {
  Bytes b;
  b.text("RIFF").le32(0).text(form);
  return b;
}

TEST(RiffWalk, PcmAndMpegFormatClasses) {
  Bytes pcm = riffHeader();
  pcm.fmt(1).chunk("data", std::vector<uint8_t>(100, 3)).fixRiffSize();
  Walked w = walkBytes(pcm.v);
  EXPECT_EQ(w.found, 1);
  EXPECT_EQ(w.walk.result.formatClass, 1);
  EXPECT_EQ(w.start, 44);
  EXPECT_EQ(w.size, 100);
  EXPECT_EQ(w.walk.format.channels, 2);
  EXPECT_EQ(w.walk.format.samplesPerSecond, 44100u);
  EXPECT_EQ(w.walk.format.bitsPerSample, 16);

  for (uint16_t tag : {85, 80}) {
    Bytes mp = riffHeader();
    mp.fmt(tag, 30).chunk("fact", {0, 0, 0, 0}).chunk("data", test::fakeAudio(64));
    w = walkBytes(mp.v);
    EXPECT_EQ(w.found, 1);
    EXPECT_EQ(w.walk.result.formatClass, 0);
    EXPECT_EQ(w.start, 12 + 38 + 12 + 8);
  }

  Bytes rmp = riffHeader("RMP3");
  rmp.chunk("data", test::fakeAudio(64));
  w = walkBytes(rmp.v);
  EXPECT_EQ(w.found, 1);
  EXPECT_EQ(w.walk.result.formatClass, 0);
  EXPECT_FALSE(w.walk.formatSeen);
}

TEST(RiffWalk, UnsupportedOrCutFormatEndsTheWalk) {
  Bytes adpcm = riffHeader();
  adpcm.fmt(2).chunk("data", std::vector<uint8_t>(10, 0));
  Walked w = walkBytes(adpcm.v);
  EXPECT_EQ(w.found, 0);
  EXPECT_EQ(w.walk.result.formatClass, -1);

  Bytes cut = riffHeader();
  cut.text("fmt ").le32(16).le16(1).le16(1).le32(8000);  // 8 of 18 bytes
  w = walkBytes(cut.v);
  EXPECT_EQ(w.found, 0);
  EXPECT_EQ(w.walk.result.formatClass, -1);

  Bytes notRiff;
  notRiff.text("RIFX").le32(0).text("WAVE");
  w = walkBytes(notRiff.v);
  EXPECT_EQ(w.found, 0);
  EXPECT_EQ(w.start, 0) << "untouched";
}

TEST(RiffWalk, InfoAfterOddDataChunk) {
  Bytes b = riffHeader("RMP3");
  b.chunk("data", test::fakeAudio(101)).fill(1, 0);
  size_t listAt = b.v.size();
  Bytes list;
  list.text("INFO").info("INAM", "Title").info("IART", "Artist").info("IXYZ", "ignored");
  list.info("ICMS", std::string(200, 'k')).info("IID3", "x");
  b.chunk("LIST", list.v).fixRiffSize();
  Walked w = walkBytes(b.v);
  EXPECT_EQ(w.found, 1);
  EXPECT_EQ(w.size, 101);
  EXPECT_EQ(w.walk.listOffset, static_cast<int64_t>(listAt));
  EXPECT_EQ(w.walk.result.listSize, static_cast<int32_t>(list.v.size()));
  EXPECT_TRUE(w.walk.listIsInfo);
  EXPECT_STREQ(w.info.slots[0], "Title");
  EXPECT_STREQ(w.info.slots[1], "Artist");
  EXPECT_EQ(std::string(w.info.slots[13]), std::string(127, 'k'));
  EXPECT_STREQ(w.info.slots[3], "");
}

TEST(RiffWalk, ListBeforeDataIsSkippedAndCutListKeepsFieldsSoFar) {
  Bytes before = riffHeader();
  Bytes list;
  list.text("INFO").info("INAM", "Early");
  before.fmt(1).chunk("LIST", list.v).chunk("data", std::vector<uint8_t>(8, 0));
  Walked w = walkBytes(before.v);
  EXPECT_EQ(w.found, 1);
  EXPECT_EQ(w.walk.listOffset, 0);
  EXPECT_STREQ(w.info.slots[0], "");

  Bytes cut = riffHeader("RMP3");
  cut.chunk("data", test::fakeAudio(10)).text("LIST").le32(500).text("INFO").info("INAM", "Kept");
  cut.text("IART").le32(300).text("cut");
  w = walkBytes(cut.v);
  EXPECT_EQ(w.found, 1);
  EXPECT_STREQ(w.info.slots[0], "Kept");
  EXPECT_STREQ(w.info.slots[1], "");
}

TEST(RiffWalk, SizesFromTheFileAreClamped) {
  Bytes b = riffHeader("RMP3");
  b.text("data").le32(0xFFFFFFF0u).bytes(test::fakeAudio(40));
  Walked w = walkBytes(b.v);
  EXPECT_EQ(w.found, 1);
  EXPECT_EQ(w.start, 20);
  EXPECT_EQ(w.size, 40) << "limited to what the file holds";

  Bytes junk = riffHeader();
  junk.text("junk").le32(0xFFFFFFFFu).fill(20, 0);
  w = walkBytes(junk.v);
  EXPECT_EQ(w.found, 0);

  Bytes many = riffHeader();  // thousands of empty chunks end at the bound
  for (int i = 0; i < 3000; ++i) many.text("pad ").le32(0);
  many.chunk("data", test::fakeAudio(4));
  w = walkBytes(many.v);
  EXPECT_EQ(w.found, 0);
}

TEST(RiffWalk, CorpusFiles) {
  std::string shared = test::sharedDir();
  if (shared.empty()) GTEST_SKIP() << "the shared corpus is absent";
  struct Case {
    const char* name;
    int32_t found;
    int32_t formatClass;
    int64_t start;
    int64_t size;
    const char* title;
  };
  const Case cases[] = {
      {"riff_rmp3_44k_128_chord.rmp", 1, 0, 20, 65200, ""},
      {"riff_wave_mp3_44k_128_music.wav", 1, 0, 104, 64783, ""},
      {"wav_u8_mono_8k_list_after_data.wav", 1, 1, 44, 15999, "after odd data"},
      {"wav_s16_stereo_22k_truncated.wav", 1, 1, 44, 166443 - 44, ""},
      {"wav_s24_mono_44k.wav", 0, -1, 0, 0, nullptr},
  };
  WaveFormatRecord lastFormat{};
  for (const Case& c : cases) {
    std::string path = test::joinPath(test::joinPath(shared, "corpus"), c.name);
    platform::File file;
    if (!file.open(path.c_str(), platform::FileMode::Read)) {
      ADD_FAILURE() << "cannot open " << path;
      continue;
    }
    InfoText info;
    int64_t start = 0;
    int64_t size = file.size();
    FileSource source(file);
    RiffWalk walk{};
    EXPECT_EQ(walkRiffChunks(source, info, start, size, walk) == ENGINE_OK, c.found == 1) << c.name;
    EXPECT_EQ(walk.result.formatClass, c.formatClass) << c.name;
    lastFormat = walk.format;
    if (c.found) {
      EXPECT_EQ(start, c.start) << c.name;
      EXPECT_EQ(size, c.size) << c.name;
    }
    if (c.title) {
      EXPECT_STREQ(info.slots[0], c.title) << c.name;
    }
  }
  EXPECT_EQ(lastFormat.formatTag, 0xFFFE);
}

}  // namespace
}  // namespace orva

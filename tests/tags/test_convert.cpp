#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "tags/convert.h"
#include "tags/file_info.h"
#include "tags/file_rewrite.h"
#include "tags/id3v1.h"
#include "tests/support/id3v2_bytes.h"
#include "tests/support/test_support.h"
#include "tests/tags/tag_bytes.h"

namespace orva {
namespace {

using test::Bytes;

std::vector<uint8_t> run(int32_t (*render)(ByteSource&, ByteSink&), const std::vector<uint8_t>& old,
                         int32_t expectedCode = 0) {
  MemorySource src(old.data(), static_cast<int64_t>(old.size()));
  test::VectorSink out;
  EXPECT_EQ(render(src, out), expectedCode);
  return out.v;
}

int32_t toRmp3(ByteSource& old, ByteSink& out) { return renderToRiff(old, false, 0, out); }
int32_t toWave(ByteSource& old, ByteSink& out) { return renderToRiff(old, true, 0, out); }

TEST(ConvertToRmp3, ThousandBytesWithATagBecome1318) {
  Bytes file;
  file.bytes(test::fakeAudio(1000)).bytes(test::tagBytes("song"));
  auto v = run(toRmp3, file.v);
  ASSERT_EQ(v.size(), 1318u);
  EXPECT_EQ(0, std::memcmp(v.data(), "RIFF", 4));
  EXPECT_EQ(readLe32(v.data() + 4), 1310u);
  EXPECT_EQ(0, std::memcmp(v.data() + 8, "RMP3data", 8));
  EXPECT_EQ(readLe32(v.data() + 16), 1000u);
  EXPECT_EQ(0, std::memcmp(v.data() + 1020, "LIST", 4));
  EXPECT_EQ(readLe32(v.data() + 1024), 290u);
  EXPECT_EQ(0, std::memcmp(v.data() + 1032 + 90, "ISFT\x0b\0\0\0ZENFO\0\0\0\0\0\0\0", 20));
  EXPECT_EQ(0, std::memcmp(v.data() + 1318 - 128, test::tagBytes("song").data(), 128));

  auto back = run(renderToMpeg, v);
  EXPECT_EQ(back, file.v) << "the round trip gives the original bytes";
}

// An ID3v2 tag is part of the audio the conversions carry: untouched both
// ways.
TEST(ConvertToRmp3, CarriesAnId3v2TagUntouched) {
  const std::vector<uint8_t> id3v2 = test::id3v2Tag({test::utf16TextFrame("TIT2", u"Title")});
  Bytes file;
  file.bytes(id3v2).bytes(test::fakeAudio(600)).bytes(test::tagBytes("song"));
  const std::vector<uint8_t> riff = run(toRmp3, file.v);
  ASSERT_GT(riff.size(), 20 + id3v2.size());
  EXPECT_TRUE(std::equal(id3v2.begin(), id3v2.end(), riff.begin() + 20)) << "at the start of the data chunk";
  EXPECT_EQ(run(renderToMpeg, riff), file.v);
}

TEST(ConvertToRmp3, NoTagGivesABlankOneAndOddAudioAPadByte) {
  auto v = run(toRmp3, test::fakeAudio(1001));
  ASSERT_EQ(v.size(), 20u + 1001 + 1 + 298);
  EXPECT_EQ(readLe32(v.data() + 16), 1001u) << "the data size stays odd";
  EXPECT_EQ(v[1021], 0);
  EXPECT_EQ(v.back(), 250);
  EXPECT_EQ(0, std::memcmp(v.data() + v.size() - 136, "IID3\x80\0\0\0TAG", 11));
}

TEST(ConvertToRmp3, CarriesALyrics3BlockByPlacement) {
  std::string block = "LYRICSBEGININD0000200LYR00001aINF00000AUT00000EAL00000EAR00000ETT00000IMG00000000078LYRICS200";
  Bytes file;
  file.bytes(test::fakeAudio(100)).text(block).bytes(test::tagBytes("t"));
  MemorySource src(file.v.data(), static_cast<int64_t>(file.v.size()));
  test::VectorSink m0;
  ASSERT_EQ(renderToRiff(src, false, 0, m0), 0);
  // 93 bytes: one leading zero byte keeps the sub-chunk even.
  EXPECT_EQ(readLe32(m0.v.data() + 124), 290u + 94 - 10);
  EXPECT_EQ(m0.v.size(), 120u + 8 + 290 + 94 - 10);
  test::VectorSink m2;
  ASSERT_EQ(renderToRiff(src, false, 2, m2), 0);
  EXPECT_EQ(m2.v.size(), 120u + 298) << "placement 2 drops the block";
  auto back = run(renderToMpeg, m0.v);
  EXPECT_EQ(back, file.v);
}

TEST(ConvertToWave, FixedMpegFormatRecord) {
  auto v = run(toWave, test::fakeAudio(400));
  ASSERT_EQ(v.size(), 58u + 400 + 298);
  EXPECT_EQ(0, std::memcmp(v.data() + 8, "WAVEfmt \x1e\0\0\0\x55\0\x02\0", 16));
  EXPECT_EQ(readLe32(v.data() + 24), 44100u);
  EXPECT_EQ(readLe16(v.data() + 20 + 28), 1393);
  EXPECT_EQ(0, std::memcmp(v.data() + 50, "data", 4));
  uint8_t blank[128];
  makeBlankTag(blank);
  Bytes expected;
  expected.bytes(test::fakeAudio(400)).bytes(std::vector<uint8_t>(blank, blank + 128));
  EXPECT_EQ(run(renderToMpeg, v), expected.v) << "the blank tag the conversion made stays";
}

TEST(Convert, RefusesWhatItCannotConvert) {
  Bytes riff;
  riff.text("RIFF").le32(0).text("RMP3").chunk("data", test::fakeAudio(200));
  run(toRmp3, riff.v, ENGINE_ERR_ALREADY_RIFF);
  run(toWave, riff.v, ENGINE_ERR_RIFF_KIND);
  std::vector<uint8_t> zero(300, 0);
  run(toRmp3, zero, ENGINE_ERR_ZERO_FIRST_BYTE);
  run(renderToMpeg, test::fakeAudio(300), ENGINE_ERR_RIFF_KIND);
  run(toRmp3, test::fakeAudio(50), ENGINE_ERR_READ);
}

TEST(StripLeadingHeader, CutsTheHeaderAndTrailingZerosButKeepsTheTag) {
  run(renderWithoutLeadingHeader, test::fakeAudio(300), kRewriteNothing);
  Bytes file;
  file.fill(128, 0).bytes(test::fakeAudio(200)).fill(7, 0).bytes(test::tagBytes("blues", 0));
  auto v = run(renderWithoutLeadingHeader, file.v);
  Bytes expected;
  expected.bytes(test::fakeAudio(200)).bytes(test::tagBytes("blues", 0));
  EXPECT_EQ(v, expected.v) << "a tag ending in genre 0 stays whole";
  Bytes untagged;
  untagged.fill(128, 0).bytes(test::fakeAudio(200)).fill(5, 0);
  EXPECT_EQ(run(renderWithoutLeadingHeader, untagged.v), test::fakeAudio(200));
}

TEST(ConvertByPath, StatusAndNoChangeOnRefusal) {
  test::TempDir dir;
  std::string path = dir.file("a.rmp");
  Bytes riff;
  riff.text("RIFF").le32(0).text("RMP3").chunk("data", test::fakeAudio(200));
  ASSERT_TRUE(test::writeFileBytes(path, riff.v));
  EXPECT_EQ(convertFileToRmp3(path.c_str(), 0), ENGINE_ERR_ALREADY_RIFF);
  EXPECT_EQ(test::readFileBytes(path), riff.v);
  EXPECT_EQ(stripFileLeadingHeader(path.c_str()), ENGINE_OK);
  EXPECT_EQ(test::readFileBytes(path), riff.v);
  EXPECT_EQ(convertFileToMpeg(dir.file("none").c_str()), ENGINE_ERR_OPEN);
}

// MPEG-1 Layer III, 128 kbit/s, 44.1 kHz, no CRC: 417-byte frames.
std::vector<uint8_t> frames(int count) {
  std::vector<uint8_t> v;
  for (int i = 0; i < count; ++i) {
    std::vector<uint8_t> f(417, 0);
    f[0] = 0xFF;
    f[1] = 0xFB;
    f[2] = 0x90;
    f[3] = 0x00;
    v.insert(v.end(), f.begin(), f.end());
  }
  return v;
}

TEST(FileInfo, BareRiffAndLeadingHeaderFiles) {
  Bytes bare;
  bare.bytes(frames(100)).bytes(test::tagBytes("t"));
  MemorySource src(bare.v.data(), static_cast<int64_t>(bare.v.size()));
  Id3v1Record tag{};
  FileInfo info{};
  int32_t flags = 0;
  ASSERT_EQ(readFileInfoFrom(src, &tag, &info, nullptr, &flags), ENGINE_OK);
  EXPECT_EQ(info.version, 1);
  EXPECT_EQ(info.layer, 3);
  EXPECT_EQ(info.noCrc, 1);
  EXPECT_EQ(info.bitrate, 128);
  EXPECT_EQ(info.sampleRate, 44100);
  EXPECT_EQ(info.frames, 100);
  EXPECT_EQ(info.seconds, 2) << "100 x 1152 samples at 44.1 kHz";
  EXPECT_EQ(info.fileSize, 41828);
  EXPECT_STREQ(tag.title, "t");
  EXPECT_EQ(flags, TAG_LAYOUT_ID3V1);

  auto riff = run(toRmp3, bare.v);
  MemorySource rsrc(riff.data(), static_cast<int64_t>(riff.size()));
  InfoText text{};
  ASSERT_EQ(readFileInfoFrom(rsrc, &tag, &info, &text, &flags), ENGINE_OK);
  EXPECT_EQ(info.frames, 100);
  EXPECT_STREQ(text.slots[9], "ZENFO");
  EXPECT_EQ(flags, TAG_LAYOUT_RMP3 | TAG_LAYOUT_ID3V1);

  Bytes headed;
  headed.fill(128, 0).bytes(frames(10));
  MemorySource hsrc(headed.v.data(), static_cast<int64_t>(headed.v.size()));
  ASSERT_EQ(readFileInfoFrom(hsrc, &tag, &info, nullptr, &flags), ENGINE_OK);
  EXPECT_EQ(flags, TAG_LAYOUT_LEADING_HEADER);

  Bytes pcm;
  pcm.text("RIFF").le32(0).text("WAVE").fmt(1).chunk("data", std::vector<uint8_t>(400, 0));
  MemorySource psrc(pcm.v.data(), static_cast<int64_t>(pcm.v.size()));
  EXPECT_EQ(readFileInfoFrom(psrc, &tag, &info, nullptr, nullptr), ENGINE_ERR_RIFF_WALK);
  auto noise = test::fakeAudio(2000);
  noise[0] = 1;
  noise[1] = 2;
  MemorySource nsrc(noise.data(), 2000);
  EXPECT_EQ(readFileInfoFrom(nsrc, &tag, &info, nullptr, nullptr), ENGINE_ERR_NO_SYNC);
}

}  // namespace
}  // namespace orva

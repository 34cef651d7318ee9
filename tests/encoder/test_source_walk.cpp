// The source's chunk walk over bytes: where the audio is, what bounds it,
// and which files are refused.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/encoder_source.h"
#include "tests/encoder/encoder_fixtures.h"

namespace orva::test {
namespace {

using encoder::SourceWalk;
using encoder::WaveSource;

SourceWalk walk(const std::vector<uint8_t>& bytes, WaveSource& out) {
  MemorySource source(bytes.data(), static_cast<int64_t>(bytes.size()));
  return encoder::walkWaveSource(source, out);
}

std::vector<uint8_t> withSize(std::vector<uint8_t> file, size_t at, uint32_t size) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(size >> (8 * i));
  return file;
}

const PcmShape kStereo{2, 44100, 16};

TEST(EncoderSourceWalk, FindsTheFormatAndOnlyTheDataChunksAudio) {
  const std::vector<uint8_t> data(1000, 0x11);
  const auto list = chunk("LIST", std::vector<uint8_t>(333, 'x'));  // odd: padded
  const auto file = waveFile(kStereo, data, list, chunk("LIST", std::vector<uint8_t>(5000, 0x7F)));
  WaveSource w;
  ASSERT_EQ(walk(file, w), SourceWalk::Ok);
  EXPECT_EQ(w.channels, 2);
  EXPECT_EQ(w.samplesPerSecond, 44100u);
  EXPECT_EQ(w.bitsPerSample, 16);
  EXPECT_EQ(w.format.size(), 16u);
  EXPECT_EQ(w.dataStart, 12 + 24 + 8 + 334 + 8);
  EXPECT_EQ(w.dataSize, 1000);  // the LIST chunk after it is not audio
  EXPECT_EQ(w.declaredDataSize, 1000u);
}

TEST(EncoderSourceWalk, BoundsTheDataByWhatTheFileHolds) {
  auto file = waveFile(kStereo, std::vector<uint8_t>(1000, 1));
  const size_t dataSizeField = 12 + 24 + 4;
  WaveSource w;
  ASSERT_EQ(walk(withSize(file, dataSizeField, 0xFFFFFFF0u), w), SourceWalk::Ok);
  EXPECT_EQ(w.dataSize, 1000);
  EXPECT_EQ(w.declaredDataSize, 0xFFFFFFF0u);
  file.resize(file.size() - 400);  // cut inside the audio
  ASSERT_EQ(walk(file, w), SourceWalk::Ok);
  EXPECT_EQ(w.dataSize, 600);
}

TEST(EncoderSourceWalk, RefusesFilesThatAreNotPcmWave) {
  const auto good = waveFile(kStereo, std::vector<uint8_t>(100, 1));
  const size_t fmtSizeField = 12 + 4;
  auto notRiff = good;
  notRiff[3] = 'X';
  auto notWave = good;
  std::memcpy(notWave.data() + 8, "AVI ", 4);
  auto noData = good;
  noData.resize(12 + 24);
  std::vector<uint8_t> dataFirst = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  const auto data = chunk("data", std::vector<uint8_t>(8, 0));
  dataFirst.insert(dataFirst.end(), data.begin(), data.end());

  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    SourceWalk expected;
  } cases[] = {
      {"empty", {}, SourceWalk::NotRiff},
      {"shorter than the RIFF header", std::vector<uint8_t>(good.begin(), good.begin() + 11), SourceWalk::NotRiff},
      {"RIFX", notRiff, SourceWalk::NotRiff},
      {"RIFF AVI", notWave, SourceWalk::NotWave},
      {"no data chunk", noData, SourceWalk::NoAudio},
      {"data before fmt", dataFirst, SourceWalk::NoAudio},
      {"fmt of 14 bytes", withSize(good, fmtSizeField, 14), SourceWalk::NoAudio},
      {"fmt larger than any format", withSize(good, fmtSizeField, 0x7FFFFFFF), SourceWalk::NoAudio},
      {"fmt past the file's end", withSize(good, fmtSizeField, 1000), SourceWalk::NoAudio},
  };
  for (const auto& c : cases) {
    WaveSource w;
    EXPECT_EQ(walk(c.bytes, w), c.expected) << c.name;
  }
}

TEST(EncoderSourceWalk, EndsAtTheFilesEndWhateverTheChunkSizes) {
  // A chunk claiming 4 GB before the data: the walk leaves the file and stops.
  auto file = waveFile(kStereo, std::vector<uint8_t>(100, 1), chunk("junk", std::vector<uint8_t>(4, 0)));
  WaveSource w;
  EXPECT_EQ(walk(withSize(file, 12 + 24 + 4, 0xFFFFFFFFu), w), SourceWalk::NoAudio);
  // More empty chunks in front of the data than a walk looks at.
  std::vector<uint8_t> many;
  for (int i = 0; i < 10000; ++i) {
    const auto empty = chunk("pad ", {});
    many.insert(many.end(), empty.begin(), empty.end());
  }
  EXPECT_EQ(walk(waveFile(kStereo, {}, many), w), SourceWalk::NoAudio);
}

}  // namespace
}  // namespace orva::test

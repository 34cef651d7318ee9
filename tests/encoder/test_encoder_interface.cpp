// The encoder's entry points: calling order, status and detail codes, and
// what becomes of the destination when a start or a conversion fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/file.h"
#include "tests/encoder/encoder_fixtures.h"
#include "tests/support/test_support.h"

namespace orva::test {
namespace {

class EncoderInterface : public ::testing::Test {
 protected:
  void SetUp() override {
    engineInit();
    source = dir.file("in.wav");
    destination = dir.file("out.mp3");
    writeSource(PcmShape{}, 2.0, source);
  }
  void TearDown() override {
    platform::disarmFileFaultsForTests();
    engineShutdown();
  }

  static void writeSource(const PcmShape& shape, double seconds, const std::string& path) {
    const auto samples = chirpSamples(shape, static_cast<int64_t>(seconds * shape.rate));
    ASSERT_TRUE(writeFileBytes(path, waveFile(shape, pcmBytes(samples, shape.bits))));
  }

  // The call's result and the status and detail codes it left.
  struct Outcome {
    int32_t result, status, detail;
    bool operator==(const Outcome&) const = default;
  };
  static Outcome openSource(const std::string& path) {
    EncoderSourceInfo info{};
    const int32_t r = encoderOpenSource(path.c_str(), &info);
    return {r, engineGetStatus(), engineGetDetailCode()};
  }
  static Outcome start(const std::string& path) {
    const int32_t r = encoderStart(path.c_str());
    return {r, engineGetStatus(), engineGetDetailCode()};
  }

  TempDir dir;
  std::string source, destination;
};

TEST_F(EncoderInterface, OpenSourceReportsTheFormatAndRefusesWhatItCannotRead) {
  EncoderSourceInfo info{};
  ASSERT_EQ(encoderOpenSource(source.c_str(), &info), 1);
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.bitsPerSample, 16);
  EXPECT_EQ(info.samplesPerSecond, 44100);
  EXPECT_EQ(info.dataSize, 2 * 44100 * 4);
  EXPECT_EQ(openSource(source).result, 0) << "a second open while the first is open";
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_ENCODER_BUSY);
  engineInit();  // closes the source

  const std::string notRiff = dir.file("text.wav"), notWave = dir.file("avi.wav"), noData = dir.file("nodata.wav");
  writeFileBytes(notRiff, std::vector<uint8_t>(64, 'a'));
  auto avi = waveFile(PcmShape{}, std::vector<uint8_t>(16, 0));
  std::memcpy(avi.data() + 8, "AVI ", 4);
  writeFileBytes(notWave, avi);
  auto cut = waveFile(PcmShape{}, std::vector<uint8_t>(16, 0));
  cut.resize(12 + 24 + 3);  // ends inside the data chunk's header
  writeFileBytes(noData, cut);

  EXPECT_EQ(openSource(""), (Outcome{0, ENGINE_ERR_WAVE_CREATE, 0}));
  EXPECT_EQ(openSource(dir.file("missing.wav")), (Outcome{0, ENGINE_ERR_WAVE_CREATE, ENCODER_SOURCE_CANNOT_OPEN}));
  EXPECT_EQ(openSource(dir.path()), (Outcome{0, ENGINE_ERR_WAVE_CREATE, ENCODER_SOURCE_CANNOT_OPEN}));
  EXPECT_EQ(openSource(notRiff), (Outcome{0, ENGINE_ERR_NOT_WAVE, ENCODER_SOURCE_NOT_RIFF}));
  EXPECT_EQ(openSource(notWave), (Outcome{0, ENGINE_ERR_NOT_WAVE, ENCODER_SOURCE_NOT_WAVE}));
  EXPECT_EQ(openSource(noData), (Outcome{0, ENGINE_ERR_NOT_WAVE, ENCODER_SOURCE_NO_AUDIO}));
  // None of the failures left a source open.
  EXPECT_EQ(openSource(source).result, 1);
}

TEST_F(EncoderInterface, ATruncatedSourceEncodesTheAudioItHolds) {
  const PcmShape shape{1, 22050, 16};
  auto whole = waveFile(shape, pcmBytes(chirpSamples(shape, 22050), 16));
  whole.resize(whole.size() - 30001);  // the data chunk still claims 44100 bytes
  writeFileBytes(source, whole);
  EncoderSourceInfo info{};
  ASSERT_EQ(encoderOpenSource(source.c_str(), &info), 1);
  EXPECT_EQ(info.dataSize, 44100 - 30001);
  ASSERT_EQ(encoderStart(destination.c_str()), 1);
  int32_t read = 0, mostRead = 0;
  while (encoderGetProgress(&read, nullptr) != 0) mostRead = std::max(mostRead, read);
  EXPECT_LE(mostRead, info.dataSize);
  EXPECT_EQ(encoderGetResult(), ENCODER_RESULT_FINISHED);
  EXPECT_FALSE(readFileBytes(destination).empty());
}

TEST_F(EncoderInterface, StartNeedsAnOpenSourceAndAWritableDestination) {
  EXPECT_EQ(start(destination), (Outcome{0, ENGINE_ERR_ENCODER_BUSY, 0}));

  ASSERT_EQ(openSource(source).result, 1);
  EXPECT_EQ(start("").status, ENGINE_ERR_OPEN);
  EXPECT_EQ(start(destination).status, ENGINE_ERR_ENCODER_BUSY) << "a failed start closes the source";

  ASSERT_EQ(openSource(source).result, 1);
  EXPECT_EQ(start(dir.file("no-such-folder/out.mp3")), (Outcome{0, ENGINE_ERR_OPEN, 0}));
  EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"in.wav"});

  EXPECT_EQ(encoderAbort(), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_NO_CONVERSION);
  EXPECT_EQ(encoderGetProgress(nullptr, nullptr), 0);
}

TEST_F(EncoderInterface, SourcesNoFormatFitsFailWith32AndLeaveTheOldDestination) {
  const std::vector<uint8_t> old = {'o', 'l', 'd'};
  writeFileBytes(destination, old);
  for (const PcmShape& shape :
       {PcmShape{2, 96000, 16}, PcmShape{1, 44000, 16}, PcmShape{3, 44100, 16}, PcmShape{2, 44100, 24}}) {
    writeSource(shape, 0.1, source);
    ASSERT_EQ(openSource(source).result, 1);
    EXPECT_EQ(start(destination), (Outcome{0, ENGINE_ERR_CONVERSION_OPEN, 0}))
        << shape.channels << " ch " << shape.rate << " Hz " << shape.bits << " bit";
    EXPECT_EQ(readFileBytes(destination), old);
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"in.wav", "out.mp3"}));
  }
}

TEST_F(EncoderInterface, ARunningConversionIsLeftAloneByOtherCalls) {
  writeSource(PcmShape{}, 30.0, source);
  ASSERT_EQ(openSource(source).result, 1);
  ASSERT_EQ(start(destination).result, 1);
  EXPECT_EQ(encoderGetProgress(nullptr, nullptr), 1);
  EXPECT_EQ(start(dir.file("other.mp3")), (Outcome{0, ENGINE_ERR_ENCODER_BUSY, 0}));
  EXPECT_EQ(openSource(source), (Outcome{0, ENGINE_ERR_ENCODER_BUSY, 0}));
  ASSERT_TRUE(waitForConversion());
  EXPECT_EQ(encoderGetResult(), ENCODER_RESULT_FINISHED);
  EXPECT_FALSE(platform::fileExists(dir.file("other.mp3").c_str()));
  int32_t read = -1, written = -1;
  EXPECT_EQ(encoderGetProgress(&read, &written), 0);
  EXPECT_EQ(read, 0);
  EXPECT_EQ(written, 0);
  // The encoder is idle again: the next conversion goes ahead.
  EXPECT_EQ(encodeFile(source, dir.file("again.mp3")), ENCODER_RESULT_FINISHED);
  EXPECT_EQ(readFileBytes(destination), readFileBytes(dir.file("again.mp3")));
}

TEST_F(EncoderInterface, AnAbortRightAfterStartLeavesAWholeShorterStream) {
  writeSource(PcmShape{}, 60.0, source);
  writeFileBytes(destination, {'o', 'l', 'd'});
  ASSERT_EQ(openSource(source).result, 1);
  ASSERT_EQ(start(destination).result, 1);
  EXPECT_EQ(encoderAbort(), 1);
  EXPECT_EQ(encoderAbort(), 0) << "asked once already";
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_NO_CONVERSION);
  ASSERT_TRUE(waitForConversion());
  EXPECT_EQ(encoderGetResult(), ENCODER_RESULT_ABORTED);
  const auto kept = readFileBytes(destination);
  ASSERT_GE(kept.size(), 4u);
  EXPECT_EQ(kept[0], 0xFF);  // the old file was replaced by a stream
  EXPECT_LT(kept.size(), 192000u / 8 * 30);
  EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"in.wav", "out.mp3"}));
}

TEST_F(EncoderInterface, AFailedConversionLeavesTheOldDestinationAndNoTemporaryFile) {
  writeSource(PcmShape{}, 5.0, source);
  const std::vector<uint8_t> old = {'o', 'l', 'd'};
  const struct {
    const char* name;
    platform::FileFaultPlan plan;
    int32_t status;
  } cases[] = {
      {"read error", {.failReadAt = 3}, ENGINE_ERR_READ},
      {"write error", {.failWriteAt = 5}, ENGINE_ERR_WRITE},
      {"disk full", {.diskFullAfter = 20000}, ENGINE_ERR_WRITE},
      {"replace fails", {.failReplace = true}, ENGINE_ERR_WRITE},
  };
  for (const auto& c : cases) {
    writeFileBytes(destination, old);
    ASSERT_EQ(openSource(source).result, 1);
    platform::armFileFaultsForTests(c.plan);
    ASSERT_EQ(start(destination).result, 1) << c.name;
    ASSERT_TRUE(waitForConversion());
    platform::disarmFileFaultsForTests();
    EXPECT_EQ(encoderGetResult(), ENCODER_RESULT_FAILED) << c.name;
    EXPECT_EQ(engineGetStatus(), c.status) << c.name;
    EXPECT_EQ(readFileBytes(destination), old) << c.name;
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"in.wav", "out.mp3"})) << c.name;
  }
}

TEST_F(EncoderInterface, ShutdownEndsARunningConversionWithWhatWasEncoded) {
  writeSource(PcmShape{}, 60.0, source);
  ASSERT_EQ(openSource(source).result, 1);
  ASSERT_EQ(start(destination).result, 1);
  engineShutdown();
  EXPECT_EQ(encoderGetProgress(nullptr, nullptr), 0);
  EXPECT_EQ(encoderGetResult(), ENCODER_RESULT_ABORTED);
  EXPECT_TRUE(platform::fileExists(destination.c_str()));
  engineInit();
  EXPECT_EQ(encoderGetResult(), ENCODER_RESULT_NONE);
  EXPECT_EQ(openSource(source).result, 1);
}

}  // namespace
}  // namespace orva::test

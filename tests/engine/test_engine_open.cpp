// Opening streams: bad input of every kind, the metadata taken off the
// audio, RIFF containers, PCM WAVE, durations.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

#include "engine/status_register.h"
#include "tests/engine/engine_test.h"

namespace orva::test {
namespace {

using EngineOpen = EngineTest;

struct BadInput {
  const char* name;
  Bytes bytes;
  int32_t status;
};

TEST_F(EngineOpen, BadInputFailsWithItsStatusAndLeavesNothingOpen) {
  Bytes zeroFirst(20000, 0);
  Bytes truncated = {0xFF, 0xFB, 0x90, 0x00};
  truncated.resize(100, 0x55);
  Bytes freeFormat = frame({0xFF, 0xFB, 0x00, 0x00}, 2000);
  Bytes layerZero = frame({0xFF, 0xF9, 0x90, 0x00}, 2000);
  const BadInput cases[] = {
      {"empty.mp3", {}, ENGINE_ERR_READ},
      {"three.mp3", {'a', 'b', 'c'}, ENGINE_ERR_READ},
      {"garbage.mp3", Bytes(30000, 0x41), ENGINE_ERR_NO_SYNC},
      {"zeros.mp3", zeroFirst, ENGINE_ERR_NO_SYNC},
      {"truncated.mp3", truncated, ENGINE_ERR_BAD_HEADER},
      {"free.mp3", freeFormat, ENGINE_ERR_BAD_HEADER},
      {"layer0.mp3", layerZero, ENGINE_ERR_BAD_HEADER},
  };
  for (const BadInput& c : cases) {
    SCOPED_TRACE(c.name);
    StreamInfo info{};
    EXPECT_EQ(openBytes(c.bytes, info, c.name), 0);
    EXPECT_EQ(engineGetStatus(), c.status);
    FileInfo fileInfo{};
    EXPECT_EQ(engineGetHeaderInfo(&fileInfo), 0);
    EXPECT_EQ(engineGetStatus(), ENGINE_ERR_NOT_OPEN);
  }
}

TEST_F(EngineOpen, PathsThatCannotBeOpenedGiveStatus1) {
  StreamInfo info{};
  for (const std::string& path : {std::string(), dir_.file("missing.mp3"), dir_.path()}) {
    SCOPED_TRACE(path);
    setStatus(0);
    EXPECT_EQ(engineOpen(path.c_str(), &info), 0);
    EXPECT_EQ(engineGetStatus(), ENGINE_ERR_OPEN);
  }
  setStatus(0);
  EXPECT_EQ(engineOpen(nullptr, &info), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_OPEN);
  EXPECT_EQ(engineOpen(write("a.mp3", l3Frames(3)).c_str(), nullptr), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_ARGUMENT);
}

TEST_F(EngineOpen, ConstantBitrateStreamAndItsDurations) {
  StreamInfo info{};
  ASSERT_EQ(openBytes(l3Frames(100), info), 1);
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.bitRate, 128);
  EXPECT_EQ(info.sampleRate, 44100);
  EXPECT_EQ(info.durationSeconds, 2);  // 115200 samples
  EXPECT_EQ(info.title[0], '\0');
  EXPECT_EQ(engineGetNominalDuration(), 2);  // 26 ms x 100
  EXPECT_EQ(engineGetTotalSamples(), 115200);
  EXPECT_EQ(engineGetBitRate(), 128);

  FileInfo f{};
  ASSERT_EQ(engineGetHeaderInfo(&f), 1);
  EXPECT_EQ(f.version, 1);
  EXPECT_EQ(f.layer, 3);
  EXPECT_EQ(f.noCrc, 1);
  EXPECT_EQ(f.mode, 0);
  EXPECT_EQ(f.channels, 2);
  EXPECT_EQ(f.bitrate, 128);
  EXPECT_EQ(f.sampleRate, 44100);
  EXPECT_EQ(f.fileSize, 100 * kL3FrameSize);
  EXPECT_EQ(f.frames, 100);
  EXPECT_EQ(f.seconds, 2);
}

TEST_F(EngineOpen, OpeningWithNothingOpenLeavesStatus2AndSuccessKeepsIt) {
  setStatus(0);
  StreamInfo info{};
  ASSERT_EQ(openBytes(l3Frames(5), info), 1);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_NOT_OPEN);
  setStatus(ENGINE_ERR_BAD_HEADER);
  ASSERT_EQ(openBytes(l3Frames(5), info, "again.mp3"), 1);  // closes the first quietly
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_BAD_HEADER);
  EXPECT_EQ(engineClose(), 1);
  EXPECT_EQ(engineClose(), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_NOT_OPEN);
}

TEST_F(EngineOpen, XingHeaderGivesFrameCountAndNoBitRate) {
  Bytes bytes = l3XingFrame(1000, 417000);
  append(bytes, l3Frames(20));
  StreamInfo info{};
  ASSERT_EQ(openBytes(bytes, info), 1);
  EXPECT_EQ(info.bitRate, 0);
  EXPECT_EQ(info.durationSeconds, 26);  // 1000 x 1152 / 44100
  EXPECT_EQ(engineGetNominalDuration(), 26);
  EXPECT_EQ(gEngine.audioStart, 0);
  EXPECT_EQ(gEngine.header.vbrHeaderFrameSize, kL3FrameSize);
  FileInfo f{};
  ASSERT_EQ(engineGetHeaderInfo(&f), 1);
  EXPECT_EQ(f.frames, 1000);
  EXPECT_EQ(f.bitrate, 0);
}

TEST_F(EngineOpen, HugeXingFrameCountNeitherWrapsNorOverflows) {
  Bytes bytes = l3XingFrame(0xFFFFFFFFu, 0xFFFFFFFFu);
  append(bytes, l3Frames(2));
  StreamInfo info{};
  ASSERT_EQ(openBytes(bytes, info), 1);
  EXPECT_EQ(info.durationSeconds, int32_t(int64_t{0xFFFFFFFF} * 1152 / 44100));
  EXPECT_EQ(engineGetNominalDuration(), int32_t(int64_t{26} * 0xFFFFFFFF / 1000));
  EXPECT_EQ(engineGetTotalSamples(), INT32_MAX);
  FileInfo f{};
  ASSERT_EQ(engineGetHeaderInfo(&f), 1);
  EXPECT_EQ(f.seconds, info.durationSeconds);
}

TEST_F(EngineOpen, FirstByteZeroWithoutId3v2ProbesFrom128) {
  Bytes bytes(128, 0x11);
  bytes[0] = 0;
  std::memcpy(bytes.data() + 10, kL3Header, 4);  // a sync the probe must not see
  append(bytes, l3Frames(10));
  StreamInfo info{};
  ASSERT_EQ(openBytes(bytes, info), 1);
  EXPECT_EQ(gEngine.audioStart, 128);
  EXPECT_EQ(gEngine.audioSize, 10 * kL3FrameSize);
}

TEST_F(EngineOpen, Id3v2TagIsSkipped) {
  Bytes bytes = id3v2Tag(257);  // size bytes 00 00 02 01
  append(bytes, l3Frames(10));
  StreamInfo info{};
  ASSERT_EQ(openBytes(bytes, info), 1);
  EXPECT_EQ(gEngine.audioStart, 267);
  EXPECT_EQ(gEngine.audioSize, 10 * kL3FrameSize);
}

TEST_F(EngineOpen, Id3v2SizePastTheEndFailsWithStatus3) {
  Bytes bytes = id3v2Tag(0x0FFFFFFF, false);
  append(bytes, l3Frames(10));
  StreamInfo info{};
  EXPECT_EQ(openBytes(bytes, info), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_READ);
}

TEST_F(EngineOpen, Id3v1AndLyrics3AreTakenOffTheData) {
  Bytes bytes = l3Frames(20);
  append(bytes, lyrics3Block("IND00003110LYR00005hello"));
  append(bytes, id3v1Tag("Title", "Artist", 52));
  StreamInfo info{};
  ASSERT_EQ(openBytes(bytes, info), 1);
  EXPECT_EQ(gEngine.audioSize, 20 * kL3FrameSize);
  EXPECT_STREQ(info.title, "Title");
  EXPECT_STREQ(info.artist, "Artist");

  Bytes noTag = l3Frames(20);
  append(noTag, lyrics3Block("LYR00005hello"));
  ASSERT_EQ(openBytes(noTag, info, "notag.mp3"), 1);
  EXPECT_EQ(gEngine.audioSize, 20 * kL3FrameSize);
  EXPECT_EQ(info.title[0], '\0');
}

TEST_F(EngineOpen, Lyrics3SizeLargerThanTheFileIsIgnored) {
  Bytes bytes = l3Frames(5);
  append(bytes, lyrics3Block("LYR00005hello", "999999"));
  append(bytes, id3v1Tag("T", "A", 0));
  StreamInfo info{};
  ASSERT_EQ(openBytes(bytes, info), 1);
  EXPECT_GT(gEngine.audioSize, 0);
  EXPECT_EQ(gEngine.audioSize, int64_t(bytes.size()) - 128);
}

TEST_F(EngineOpen, BlankTitleKeepsOneBlank) {
  Bytes bytes = l3Frames(5);
  append(bytes, id3v1Tag(std::string(30, ' '), "abc" + std::string(27, ' '), 0));
  StreamInfo info{};
  ASSERT_EQ(openBytes(bytes, info), 1);
  EXPECT_STREQ(info.title, " ");
  EXPECT_STREQ(info.artist, "abc");
}

TEST_F(EngineOpen, JunkBeforeTheAudioIsSearchedThrough) {
  Bytes bytes(1000, 0x11);
  const uint8_t unparsable[4] = {0xFF, 0xF1, 0x56, 0xFD};  // layer bits 00
  const uint8_t lookalike[4] = {0xFF, 0xF5, 0xA1, 0xB5};   // a valid MPEG-2 Layer II header
  std::memcpy(bytes.data() + 100, unparsable, 4);
  std::memcpy(bytes.data() + 400, lookalike, 4);
  append(bytes, l3Frames(10));
  StreamInfo info{};
  ASSERT_EQ(openBytes(bytes, info), 1);
  EXPECT_EQ(gEngine.audioStart, 1000);
  EXPECT_EQ(gEngine.header.layer, 3);
  EXPECT_EQ(gEngine.header.version, 1);
  EXPECT_EQ(info.sampleRate, 44100);
}

TEST_F(EngineOpen, SingleFrameFileOpens) {
  StreamInfo info{};
  ASSERT_EQ(openBytes(l3Frames(1), info), 1);
  EXPECT_EQ(info.bitRate, 128);
}

TEST_F(EngineOpen, RiffWaveWithMpegFormatPlaysFromItsDataChunk) {
  Bytes riff = riffWave(85, 2, 44100, 0, l3Frames(10));
  StreamInfo info{};
  ASSERT_EQ(openBytes(riff, info, "mpeg.wav"), 1);
  EXPECT_EQ(gEngine.pcmInput, 0);
  EXPECT_EQ(gEngine.audioStart, 12 + 8 + 18 + 8);
  EXPECT_EQ(gEngine.audioSize, 10 * kL3FrameSize);
  EXPECT_EQ(info.bitRate, 128);

  EXPECT_EQ(openBytes(riffWave(2, 2, 44100, 4, l3Frames(10)), info, "adpcm.wav"), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_RIFF_WALK);
}

TEST_F(EngineOpen, PcmWave) {
  StreamInfo info{};
  ASSERT_EQ(openBytes(riffWave(1, 2, 44100, 16, Bytes(176400 * 2, 0)), info, "s16.wav"), 1);
  EXPECT_STREQ(info.title, "WAVE_FORMAT_PCM");
  EXPECT_STREQ(info.artist, "WAVE_FORMAT_PCM");
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.bitRate, 16);
  EXPECT_EQ(info.sampleRate, 44100);
  EXPECT_EQ(info.durationSeconds, 2);
  EXPECT_EQ(engineGetNominalDuration(), 2);
  EXPECT_EQ(engineGetBitRate(), 16);
  EXPECT_EQ(gEngine.pcmInput, 1);
  EXPECT_EQ(gEngine.header.outputBytesPerFrame, 4096);
  EXPECT_EQ(gEngine.audioStart, 46);

  ASSERT_EQ(openBytes(riffWave(1, 1, 8000, 8, Bytes(16000, 0x80)), info, "u8.wav"), 1);
  EXPECT_EQ(info.bitRate, 8);
  EXPECT_EQ(info.durationSeconds, 2);
  EXPECT_EQ(gEngine.header.outputBytesPerFrame, 1024);
  EXPECT_EQ(gEngine.header.frameCount, 15);
}

TEST_F(EngineOpen, PcmDataChunkClaimingMoreThanTheFileIsCut) {
  StreamInfo info{};
  ASSERT_EQ(openBytes(riffWave(1, 1, 8000, 8, Bytes(16000, 0x80), 0xFFFFFFF0), info, "cut.wav"), 1);
  EXPECT_EQ(gEngine.audioSize, 16000);
  EXPECT_EQ(info.durationSeconds, 2);
}

TEST_F(EngineOpen, BrokenRiffFilesFailWithStatus24) {
  Bytes cutFmt = {'R', 'I', 'F', 'F', 30, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 18, 0, 0, 0, 1, 0, 2};
  Bytes noData = riffWave(1, 2, 44100, 16, {});
  noData.resize(noData.size() - 8);  // drop the data chunk header
  Bytes hugeChunk = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'j', 'u', 'n', 'k'};
  putLe32(hugeChunk, 0xFFFFFFF0);
  append(hugeChunk, riffWave(1, 2, 44100, 16, Bytes(100, 0)));
  Bytes extensible = riffWave(0xFFFE, 1, 44100, 24, Bytes(3000, 0));
  int index = 0;
  for (const Bytes& bytes : {cutFmt, noData, hugeChunk, extensible}) {
    SCOPED_TRACE(index);
    StreamInfo info{};
    EXPECT_EQ(openBytes(bytes, info, "riff" + std::to_string(index++) + ".wav"), 0);
    EXPECT_EQ(engineGetStatus(), ENGINE_ERR_RIFF_WALK);
  }
}

TEST_F(EngineOpen, CloseAndOpenSleepUnlessSwitchedOff) {
  setEngineSleepsForTesting(true);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(engineClose(), 0);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  setEngineSleepsForTesting(false);
  EXPECT_GE(elapsed, std::chrono::milliseconds(95));
}

}  // namespace
}  // namespace orva::test

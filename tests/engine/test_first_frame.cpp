// The first-frame search behind engineOpen and the file information read:
// free-format streams are refused whatever false syncs their data holds,
// junk in front of the audio is skipped however header-like it is, and a
// stream of exactly one frame still opens.
#include <cstdio>

#include "tests/engine/engine_test.h"

namespace orva::test {
namespace {

class FirstFrame : public EngineTest {
 protected:
  // readFileInfo by path, as the play list reads an entry: 1 or 0 and the
  // status it left.
  int32_t readInfo(const std::string& path, FileInfo& info, int32_t& status) {
    Id3v1Record tag{};
    InfoText text{};
    const int32_t result = readFileInfo(path.c_str(), &tag, &info, &text);
    status = engineGetStatus();
    return result;
  }
};

std::string describe(const FreeFormatStream& s) {
  char text[96];
  std::snprintf(text, sizeof text, "MPEG-%s Layer %d, rate index %d, %s, free %d kbit/s",
                s.version == 3 ? "2.5" : (s.version == 1 ? "1" : "2"), s.layer, s.rateIndex, s.mono ? "mono" : "stereo",
                s.kbps);
  return text;
}

// Every layer and version, mono and stereo, rates and bit rates off the
// tables as free format allows. Each stays inside the search window, and
// each carries a false Layer I sync 300 bytes before its end whose frame
// would reach past the end of the file.
const FreeFormatStream kFreeFormat[] = {
    {1, 1, 0, false, 480, 12, 300}, {1, 1, 2, true, 72, 12, 300}, {2, 1, 0, true, 100, 14, 300},
    {1, 2, 1, false, 400, 7, 300},  {1, 2, 2, true, 40, 12, 300}, {2, 2, 2, true, 40, 10, 300},
    {1, 3, 0, false, 350, 7, 300},  {1, 3, 2, true, 200, 9, 300}, {1, 3, 0, false, 128, 14, 300},
    {2, 3, 1, false, 180, 14, 300}, {3, 3, 2, true, 24, 30, 300}, {3, 3, 0, false, 60, 12, 300},
};

TEST_F(FirstFrame, FreeFormatStreamsAreRefusedAndNothingPlays) {
  for (const FreeFormatStream& stream : kFreeFormat) {
    SCOPED_TRACE(describe(stream));
    const Bytes bytes = freeFormatStream(stream);
    ASSERT_LT(bytes.size(), 10240u);
    const std::string path = write("free.mp3", bytes);
    StreamInfo info{};
    EXPECT_EQ(engineOpen(path.c_str(), &info), 0) << info.sampleRate << " Hz " << info.bitRate << " kbit/s";
    EXPECT_EQ(engineGetStatus(), ENGINE_ERR_BAD_HEADER);
    EXPECT_EQ(enginePlay(), 0);
    EXPECT_EQ(engineGetState(nullptr), ENGINE_STOPPED);

    FileInfo fileInfo{};
    int32_t status = 0;
    EXPECT_EQ(readInfo(path, fileInfo, status), 0) << "layer " << fileInfo.layer;
    EXPECT_EQ(status, ENGINE_ERR_BAD_HEADER);
  }
}

TEST_F(FirstFrame, FreeFormatAfterAnId3v2TagOrJunkIsRefusedToo) {
  const FreeFormatStream stream{1, 3, 0, false, 256, 40, -1};
  Bytes tagged = id3v2Tag(300);
  append(tagged, freeFormatStream(stream));
  Bytes junked = syncFreeJunk(2000, 5);
  append(junked, freeFormatStream(stream));
  for (const Bytes* bytes : {&tagged, &junked}) {
    StreamInfo info{};
    EXPECT_EQ(openBytes(*bytes, info), 0);
    EXPECT_EQ(engineGetStatus(), ENGINE_ERR_BAD_HEADER);
  }
}

// Junk that ends just before real audio near the end of the search window,
// with a Layer II header whose frame would reach past the end of the file, a
// lone free-format look-alike and a header of the audio's own format whose
// frame ends inside the audio.
Bytes junkThenTwoFrames(size_t junkSize) {
  Bytes bytes = syncFreeJunk(junkSize, 17);
  const Bytes layer2 = headerBytes(1, 2, 14, 2, false, false);  // 384 kbit/s, 32 kHz: 1728 bytes
  const Bytes freeFormat = headerBytes(1, 3, 0, 0, false, false);
  std::copy(layer2.begin(), layer2.end(), bytes.end() - 240);
  std::copy(freeFormat.begin(), freeFormat.end(), bytes.end() - 160);
  std::copy(kL3Header, kL3Header + 4, bytes.end() - 90);
  append(bytes, l3Frames(2));
  return bytes;
}

TEST_F(FirstFrame, HeaderLikeJunkNearTheWindowsEndIsSkippedForTheAudioAfterIt) {
  const Bytes bytes = junkThenTwoFrames(10100);
  const std::string path = write("junk.mp3", bytes);
  StreamInfo info{};
  ASSERT_EQ(engineOpen(path.c_str(), &info), 1) << engineGetStatus();
  EXPECT_EQ(gEngine.audioStart, 10100);
  EXPECT_EQ(info.sampleRate, 44100);
  EXPECT_EQ(info.channels, 2);
  EXPECT_EQ(info.bitRate, 128);

  FileInfo fileInfo{};
  int32_t status = 0;
  ASSERT_EQ(readInfo(path, fileInfo, status), 1) << status;
  EXPECT_EQ(fileInfo.layer, 3);
  EXPECT_EQ(fileInfo.version, 1);
  EXPECT_EQ(fileInfo.bitrate, 128);
  EXPECT_EQ(fileInfo.sampleRate, 44100);
}

TEST_F(FirstFrame, AudioPastTheWindowIsNotSearchedFor) {
  StreamInfo info{};
  EXPECT_EQ(openBytes(junkThenTwoFrames(10400), info), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_BAD_HEADER);
}

// A stream of exactly one frame is confirmed by the end of the audio data:
// the end of the file, or a tag that files carry after their audio. One
// followed by anything else, or cut short, is not a frame the search can
// trust.
TEST_F(FirstFrame, OneFrameOpensWhenItEndsTheAudio) {
  struct Case {
    const char* name;
    Bytes bytes;
    int32_t result;
  };
  Bytes tagged = l3Frames(1);
  append(tagged, id3v1Tag("one", "frame", 1));
  Bytes apeTagged = l3Frames(1);
  const char ape[] = "APETAGEX\xD0\x07";
  apeTagged.insert(apeTagged.end(), ape, ape + sizeof ape);
  apeTagged.resize(apeTagged.size() + 32, 0);
  append(apeTagged, id3v1Tag("one", "frame", 1));
  Bytes followed = l3Frames(1);
  append(followed, syncFreeJunk(100, 3));
  Bytes cut = l3Frames(1);
  cut.resize(cut.size() - 20);
  const Case cases[] = {{"alone", l3Frames(1), 1},
                        {"before an ID3v1 tag", tagged, 1},
                        {"before APEv2 and ID3v1 tags", apeTagged, 1},
                        {"followed by junk", followed, 0},
                        {"cut short", cut, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = write("one.mp3", c.bytes);
    StreamInfo info{};
    EXPECT_EQ(engineOpen(path.c_str(), &info), c.result) << engineGetStatus();
    FileInfo fileInfo{};
    int32_t status = 0;
    EXPECT_EQ(readInfo(path, fileInfo, status), c.result) << status;
    if (c.result == 0) {
      EXPECT_EQ(status, ENGINE_ERR_BAD_HEADER);
    }
  }
}

}  // namespace
}  // namespace orva::test

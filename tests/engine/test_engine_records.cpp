// What the engine keeps for its hosts: the open file's tag after a write,
// the lyric lines, the decoder's output variants, and one reading of where a
// file's audio lies shared by the open, the file information and the
// empty-frame count.
#include <cstring>
#include <string>

#include "tests/engine/engine_test.h"

namespace orva::test {
namespace {

using EngineRecords = EngineTest;

// The host asks for the refresh when the file it edited is the one playing;
// the copy written here keeps the test off the replacing of a file the
// engine holds, which Windows refuses.
TEST_F(EngineRecords, AWrittenTagRefreshesTheOpenFilesTagOnlyWhenAsked) {
  Bytes bytes = l3Frames(5);
  append(bytes, id3v1Tag("Before", "Artist", 1));
  StreamInfo info{};
  ASSERT_EQ(engineOpen(write("playing.mp3", bytes).c_str(), &info), 1);
  const std::string edited = write("edited.mp3", bytes);

  Id3v11Record edit{};
  std::strcpy(edit.title, "Quiet");
  edit.genre = 13;
  ASSERT_EQ(writeId3v11Tag(edited.c_str(), &edit, 0, 1), 1);
  Id3v1Record shown{};
  ASSERT_EQ(engineGetTag(&shown), 1);
  EXPECT_STREQ(shown.title, "Before") << "no refresh was asked for";

  std::strcpy(edit.title, "After");
  ASSERT_EQ(writeId3v11Tag(edited.c_str(), &edit, 1, 1), 1);
  ASSERT_EQ(engineGetTag(&shown), 1);
  EXPECT_STREQ(shown.title, "After");
  EXPECT_EQ(shown.genre, 13);

  setStatus(0);
  EXPECT_EQ(writeId3v11Tag(dir_.file("missing.mp3").c_str(), &edit, 1, 1), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_OPEN) << "the entry point reports the tag code's failure";
  ASSERT_EQ(engineGetTag(&shown), 1);
  EXPECT_STREQ(shown.title, "After") << "a failed write refreshes nothing";
}

// Layouts whose audio starts or ends somewhere other than the file's ends.
TEST_F(EngineRecords, OpenAndFileInformationAgreeOnWhereTheAudioLies) {
  Bytes id3v2BothTags = id3v2Tag(300);
  append(id3v2BothTags, l3Frames(40));
  append(id3v2BothTags, Bytes(290, 0x55));  // a cut-off last frame: the tag decides the 41st
  append(id3v2BothTags, lyrics3Block("LYR00005hello"));
  append(id3v2BothTags, id3v1Tag("t", "a", 0));
  Bytes leadingHeader(128, 0);
  append(leadingHeader, l3Frames(40));
  append(leadingHeader, id3v1Tag("t", "a", 0));
  Bytes riffWithId3v2 = id3v2Tag(200);
  append(riffWithId3v2, l3Frames(40));
  const struct {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"id3v2, Lyrics3 and ID3v1", id3v2BothTags},
      {"leading header", leadingHeader},
      {"RIFF with an ID3v2 tag in its data", riffWave(85, 2, 44100, 0, riffWithId3v2)},
  };
  for (const auto& c : cases) {
    const std::string path = write("layout.mp3", c.bytes);
    Id3v1Record tag{};
    FileInfo listed{};
    ASSERT_EQ(readFileInfoBrief(path.c_str(), &tag, &listed), 1) << c.name;
    StreamInfo info{};
    ASSERT_EQ(engineOpen(path.c_str(), &info), 1) << c.name;
    FileInfo opened{};
    ASSERT_EQ(engineGetHeaderInfo(&opened), 1) << c.name;
    EXPECT_EQ(listed.frames, opened.frames) << c.name;
    EXPECT_EQ(listed.seconds, opened.seconds) << c.name;
    EXPECT_EQ(opened.frames, 40) << c.name;
    EXPECT_EQ(engineClose(), 1);
    EXPECT_EQ(engineCountLeadingEmptyFrames(path.c_str()), 0) << c.name << ": the count starts at the same frame";
  }
}

TEST_F(EngineRecords, LyricsBesideTheAudioAreFilteredAndFollowTheEngineOptions) {
  const std::string audio = write("song.mp3", l3Frames(40));
  const std::string lyrics = "[0:01]one [0:01:500]ignored\n[0:02]two\n";
  write("song.txt", Bytes(lyrics.begin(), lyrics.end()));
  ASSERT_EQ(loadLyricsBeside(audio.c_str()), 1);
  StreamInfo info{};
  ASSERT_EQ(engineOpen(audio.c_str(), &info), 1);
  LyricWindow window{};
  EXPECT_EQ(getLyricWindow(&window), 0) << "before the first line";
  ASSERT_EQ(engineClose(), 1);

  // The same text loaded as it is, with several stamps per line.
  const std::string text = write("raw.txt", Bytes(lyrics.begin(), lyrics.end()));
  setMultiStampLines(1);
  ASSERT_EQ(loadLyricsText(text.c_str()), 1);
  setMultiStampLines(0);
  EXPECT_EQ(gEngine.lyrics.count, 3) << "the second stamp starts a segment of its own";
  ASSERT_EQ(loadLyricsBeside(audio.c_str()), 1);
  EXPECT_EQ(gEngine.lyrics.count, 2) << "the filter keeps each line's first stamp only";
  EXPECT_STREQ(gEngine.lyrics.lines[0].text, "one ignored\n") << "later stamps are cut out of the text";

  EXPECT_EQ(loadLyricsBeside(dir_.file("none.mp3").c_str()), 0);
  EXPECT_EQ(gEngine.lyrics.count, 0) << "a missing lyrics file leaves no old lines behind";
  setStatus(0);
  EXPECT_EQ(loadLyricsBeside(""), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_ARGUMENT);
}

TEST_F(EngineRecords, OutputVariantsBeyondTheDesignedOptions) {
  setStatus(0);
  EXPECT_EQ(engineSetDecoderOutputFlags(4), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_ARGUMENT);
  ASSERT_EQ(engineSetDecoderOutputFlags(2 | 8), 1);
  DecoderOptions options{};
  ASSERT_EQ(engineGetDecoderOptions(&options), 1);
  EXPECT_EQ(options.outputFlags, 10);
  StreamInfo info{};
  ASSERT_EQ(openBytes(l3Frames(10), info), 1);
  EXPECT_EQ(info.channels, 1) << "left only";
  FileInfo header{};
  ASSERT_EQ(engineGetHeaderInfo(&header), 1);
  EXPECT_EQ(header.channels, 1);
  ASSERT_EQ(engineSetDecoderOutputFlags(0), 1);
}

}  // namespace
}  // namespace orva::test

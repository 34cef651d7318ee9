#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/codepage.h"
#include "tags/lyric_lines.h"
#include "tags/lyrics_file.h"
#include "tests/support/test_support.h"

namespace orva {
namespace {

LyricList gList;
bool gMultiStamp = false;

void load(const std::string& text) {
  MemorySource src(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int64_t>(text.size()));
  fillLyricsFromText(gList, src, gMultiStamp);
}

const LyricLine& lyricLine(int32_t i) { return gList.lines[i]; }
int32_t lyricLineCount() { return gList.count; }
std::string textOf(int32_t i) { return lyricLine(i).text; }

TEST(TimeStamp, Syntax) {
  struct Case {
    const char* text;
    int32_t result;
    int32_t ms;
  } cases[] = {
      {"[1:05]x", 6, 65000},
      {"[01:05:5]", 9, 65500},
      {"[01:05:25]", 10, 65250},
      {"[0:0:125]", 9, 125},
      {"[01:05.50]", 0, 0},
      {"[123:00]", 0, 0},
      {"[1:2:3456]", 0, 0},
      {"[a:00]", 0, 0},
      {"x[1:00]", 0, 0},
      {"[1:0", -1, 0},
      {"[", -1, 0},
      {"", -1, 0},
      {"[:00]", 0, 0},
      {"[99:59:999]", 11, 5999999},
  };
  for (const Case& c : cases) {
    int32_t ms = -1;
    EXPECT_EQ(parseTimeStamp(c.text, static_cast<int32_t>(std::strlen(c.text)), ms), c.result) << c.text;
    if (c.result > 0) {
      EXPECT_EQ(ms, c.ms) << c.text;
    }
  }
}

TEST(TimedSegments, OneOrSeveralStampsPerLine) {
  const char line[] = "[0:01]one [0:02]two";
  TimedSegment s{};
  EXPECT_EQ(splitTimedSegment(line, 19, false, s), 0);
  EXPECT_EQ(s.textOffset, 6);
  EXPECT_EQ(s.textLength, 13);
  EXPECT_EQ(splitTimedSegment(line, 19, true, s), 1);
  EXPECT_EQ(s.textLength, 4);
  EXPECT_EQ(s.advance, 10);
  EXPECT_EQ(splitTimedSegment(line + 10, 9, true, s), 0);
  EXPECT_EQ(s.timeMs, 2000);
  EXPECT_EQ(splitTimedSegment("lead [0:03]x", 12, true, s), 1);
  EXPECT_EQ(s.timeMs, 0);
  EXPECT_EQ(s.textLength, 5);
  EXPECT_EQ(splitTimedSegment("plain", 5, true, s), -1);
  EXPECT_EQ(splitTimedSegment("", 0, false, s), -1);
}

TEST(LyricsText, UntimedLinesBeforeTheFirstStampAreDroppedLaterOnesContinue) {
  gMultiStamp = false;
  load("title\r\n\r\n[0:01]first\r\nmore\n[0:03]third");
  ASSERT_EQ(lyricLineCount(), 3);
  EXPECT_EQ(textOf(0), "first\n") << "CR LF is read as LF and kept";
  EXPECT_EQ(textOf(1), "more\n");
  EXPECT_EQ(lyricLine(1).timeMs, 1000);
  EXPECT_EQ(lyricLine(1).timed, 0);
  EXPECT_EQ(lyricLine(1).sourceLine, 1);
  EXPECT_EQ(textOf(2), "third");
}

TEST(LyricsText, LongLinesAreCutAndTheListStopsAtAThousand) {
  std::string many;
  for (int i = 0; i < 1100; ++i) many += "[0:01]x\n";
  load(many);
  EXPECT_EQ(lyricLineCount(), kMaxLyricLines);
  load("[0:01]" + std::string(200, 'a') + "\n");
  ASSERT_EQ(lyricLineCount(), 2) << "a line of more than 127 bytes continues as an untimed line";
  EXPECT_EQ(std::strlen(lyricLine(0).text), 121u);
  EXPECT_EQ(lyricLine(1).timed, 0);
}

TEST(LyricsText, MultiStampLinesGiveSegmentsAndTheLineWindowJoinsThem) {
  gMultiStamp = true;
  load("[0:01]a [0:02]b [0:03]c\n[0:05]next\n");
  gMultiStamp = false;
  ASSERT_EQ(lyricLineCount(), 4);
  EXPECT_EQ(lyricLine(2).segment, 3);
  EXPECT_EQ(lyricLine(3).sourceLine, 1);
  LyricLineWindow w{};
  ASSERT_EQ(lyricLineWindowAt(gList, 2500, w), ENGINE_OK);
  EXPECT_EQ(w.segment, 2);
  EXPECT_EQ(w.timeToNext, 1000);
  EXPECT_STREQ(w.currentSegment, "b ");
  EXPECT_STREQ(w.segmentsBefore, "a ");
  EXPECT_STREQ(w.segmentsUpToCurrent, "a b ");
  EXPECT_STREQ(w.currentLine, "a b c\n");
  EXPECT_STREQ(w.nextLine, "next\n");
  EXPECT_STREQ(w.previousLine, "");
}

TEST(LyricWindowLookup, CurrentLineAndNeighbours) {
  load("[0:01]one\n[0:02]two\ncont\n[0:04]four\n[0:05]five\n");
  LyricWindow w{};
  EXPECT_EQ(lyricWindowAt(gList, 500, w), ENGINE_ERR_NO_LYRIC) << "before the first stamp";
  ASSERT_EQ(lyricWindowAt(gList, 3500, w), ENGINE_OK);
  EXPECT_STREQ(w.current, "two\n") << "an untimed continuation is never current";
  EXPECT_STREQ(w.next1, "cont\n");
  EXPECT_STREQ(w.next2, "four\n");
  EXPECT_STREQ(w.previous1, "one\n");
  EXPECT_STREQ(w.previous2, "");
  EXPECT_EQ(w.timeMs, 2000);
  ASSERT_EQ(lyricWindowAt(gList, 99000, w), ENGINE_OK);
  EXPECT_STREQ(w.current, "five\n");
  clearLyricLines(gList);
  EXPECT_EQ(lyricWindowAt(gList, 3500, w), ENGINE_ERR_NO_LYRIC);
}

TEST(LyricWindowLookup, PositionScalesByTheChosenDuration) {
  EXPECT_DOUBLE_EQ(lyricPositionMs(10.0, 100.0, 99.0, false), 9900.0);
  EXPECT_DOUBLE_EQ(lyricPositionMs(10.0, 100.0, 99.0, true), 10000.0);
  EXPECT_DOUBLE_EQ(lyricPositionMs(10.0, 0.0, 0.0, false), 10000.0) << "no duration: no division by zero";
}

TEST(LyricsFile, PathBesideTheAudio) {
  EXPECT_EQ(lyricsPathFor("C:\\music\\song.mp3"), "C:\\music\\song.txt");
  EXPECT_EQ(lyricsPathFor("C:\\my.dir\\song"), "C:\\my.dir\\song") << "a dot in a folder name is no extension";
  EXPECT_EQ(lyricsPathFor("a.b.rmp"), "a.b.txt");
}

TEST(LyricsFile, FilterKeepsTheFirstStampAndLoadsWithoutATemporaryFile) {
  std::string in = "[0:01]one [0:02]two\r\n[0:03]x[y\nno end";
  std::vector<uint8_t> out(2 * in.size());
  int64_t n =
      filterLyricsText(reinterpret_cast<const uint8_t*>(in.data()), static_cast<int64_t>(in.size()), out.data());
  EXPECT_EQ(std::string(out.begin(), out.begin() + n), "[0:01]one two\r\n[0:03]x\r\n");

  test::TempDir dir;
  std::string path = dir.file("song.txt");
  ASSERT_TRUE(test::writeFileBytes(path, std::vector<uint8_t>(in.begin(), in.end())));
  ASSERT_EQ(prepareLyricsFile(gList, path.c_str(), false), true);
  ASSERT_EQ(lyricLineCount(), 2);
  EXPECT_EQ(textOf(0), "one two\n");
  EXPECT_EQ(prepareLyricsFile(gList, dir.file("none.txt").c_str(), false), false);
  ASSERT_TRUE(test::writeFileBytes(path, std::vector<uint8_t>(kMaxLyricsFileSize + 1, 'a')));
  EXPECT_EQ(prepareLyricsFile(gList, path.c_str(), false), false) << "too large";
}

// "ー" is 0x81 0x5B in cp932: its trail byte is the code of '['.
TEST(LyricsFile, TrailBytesAreNeverBrackets) {
  platform::setActiveCodePage(platform::CodePage::Cp932);
  const std::string theme = "\x83\x65\x81\x5B\x83\x7D";  // テーマ
  std::string in = "[0:01]" + theme + " [0:02]" + theme + "\n";
  std::vector<uint8_t> out(2 * in.size());
  int64_t n =
      filterLyricsText(reinterpret_cast<const uint8_t*>(in.data()), static_cast<int64_t>(in.size()), out.data());
  EXPECT_EQ(std::string(out.begin(), out.begin() + n), "[0:01]" + theme + " " + theme + "\r\n");

  // "テー0:02]x": after the trail byte 0x5B, text that would read as a stamp.
  const std::string line =
      "[0:01]\x83\x65\x81\x5B"
      "0:02]x";
  TimedSegment segment;
  EXPECT_EQ(splitTimedSegment(line.c_str(), static_cast<int32_t>(line.size()), true, segment), 0) << "one piece";
  EXPECT_EQ(segment.textLength, static_cast<int32_t>(line.size()) - 6);
  platform::setActiveCodePage(platform::CodePage::System);
}

TEST(LyricsText, MissingFileIsALyricsOpenFailure) {
  EXPECT_EQ(fillLyricsFromTextFile(gList, "/no/such/lyrics.txt", false), ENGINE_ERR_LYRICS_OPEN);
  EXPECT_EQ(fillLyricsFromTextFile(gList, "", false), ENGINE_OK);
}

}  // namespace
}  // namespace orva

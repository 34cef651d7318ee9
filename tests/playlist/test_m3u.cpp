#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/file.h"
#include "platform/path.h"
#include "playlist/m3u.h"
#include "playlist/playlist_file.h"
#include "tests/playlist/playlist_fixtures.h"

namespace orva {
namespace {

struct Walked {
  std::string path;
  bool hasTitle;
  std::string title;
  std::string duration;
};

std::vector<Walked> walkAll(std::string_view text, bool consume) {
  std::vector<Walked> out;
  M3uWalker walker(text);
  M3uPathLine line{};
  while (walker.next(line)) {
    out.push_back({std::string(line.path), line.hasTitle, std::string(line.title), std::string(line.durationText)});
    if (consume) walker.consumeTitle();
  }
  return out;
}

TEST(M3uText, LinesCommentsAndTitles) {
  auto lines = walkAll("#EXTM3U\r\n#EXTINF:215,Artist - Song\r\na.mp3\r\n\r\n# comment\nb.mp3\nlast-without-lf", true);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].path, "a.mp3");
  EXPECT_TRUE(lines[0].hasTitle);
  EXPECT_EQ(lines[0].title, "Artist - Song");
  EXPECT_EQ(lines[0].duration, "215");
  EXPECT_EQ(lines[1].path, "b.mp3");
  EXPECT_FALSE(lines[1].hasTitle);
}

TEST(M3uText, TitleStaysPendingUntilUsedAndCommaLessLineClearsIt) {
  auto lines = walkAll("#EXTINF:10,T\nmissing\nthere\n", false);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[1].hasTitle);
  EXPECT_EQ(lines[1].title, "T");
  lines = walkAll("#EXTINF:10,T\n#EXTINF:20\nx\n", false);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_FALSE(lines[0].hasTitle);
}

TEST(M3uText, DurationReadsLikeAtoi) {
  EXPECT_EQ(parseDuration("215"), 215);
  EXPECT_EQ(parseDuration("  -1"), -1);
  EXPECT_EQ(parseDuration("+7s"), 7);
  EXPECT_EQ(parseDuration("abc"), 0);
  EXPECT_EQ(parseDuration("99999999999999"), 0x7FFFFFFF);
  EXPECT_EQ(parseDuration("-99999999999999"), static_cast<int32_t>(0x80000000u));
}

class PlaylistFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list.readFileInfo = test::fakeReadFileInfo;
    test::gFakeReads = 0;
  }
  test::TempDir dir;
  Playlist list;
};

TEST_F(PlaylistFileTest, ExtendedTitleIsUsedWithoutProbingAndGoesToTheNextExistingFile) {
  test::writeAudio(dir.file("real.mp3"), "Tagged", "Band", 99);
  test::writeText(dir.file("x.m3u"), "#EXTM3U\r\n#EXTINF:215,Artist - Song\r\nmissing.mp3\r\nreal.mp3\r\n");
  EXPECT_EQ(loadPlaylist(list, dir.file("x.m3u").c_str()), 0);
  ASSERT_EQ(list.count(), 1);
  EXPECT_STREQ(list.entry(0)->displayText, "Artist - Song");
  EXPECT_EQ(list.entry(0)->streamInfo.durationSeconds, 215);
  EXPECT_EQ(test::gFakeReads, 0);
}

TEST_F(PlaylistFileTest, RelativePathsResolveAgainstTheListAndAreSavedAbsolute) {
  std::string sub = dir.file("sub");
  ASSERT_TRUE(std::filesystem::create_directory(sub));
  test::writeAudio(test::joinPath(sub, "a.mp3"), "Song", "Band", 61);
  std::string rel = std::string("sub") + platform::kPathSeparator + "a.mp3";
  test::writeText(dir.file("x.m3u"), rel + "\nlast.mp3");  // the last line has no line feed
  test::writeAudio(dir.file("last.mp3"), "L", "L", 1);

  ASSERT_EQ(loadPlaylist(list, dir.file("x.m3u").c_str()), 0);
  ASSERT_EQ(list.count(), 1);
  EXPECT_STREQ(list.entry(0)->path, rel.c_str());
  EXPECT_STREQ(list.entry(0)->displayText, "Band - Song");
  EXPECT_EQ(list.entry(0)->streamInfo.durationSeconds, 61);

  std::string expectedPath = test::joinPath(sub, "a.mp3");
  ASSERT_TRUE(savePlaylist(list, dir.file("out.m3u").c_str(), true));
  EXPECT_EQ(test::readText(dir.file("out.m3u")), "#EXTM3U\r\n#EXTINF:61,Band - Song\r\n" + expectedPath + "\r\n");
  ASSERT_TRUE(savePlaylist(list, dir.file("plain.m3u").c_str(), false));
  EXPECT_EQ(test::readText(dir.file("plain.m3u")), expectedPath + "\r\n");

  // The saved list loads from anywhere and names the same file.
  Playlist again;
  again.readFileInfo = test::fakeReadFileInfo;
  EXPECT_EQ(loadPlaylist(again, dir.file("out.m3u").c_str()), 0);
  EXPECT_STREQ(again.entry(0)->path, expectedPath.c_str());
}

TEST_F(PlaylistFileTest, DotSegmentsAreFoldedWhenSaving) {
  const char sep = platform::kPathSeparator;
  std::string sub = dir.file("sub");
  ASSERT_TRUE(std::filesystem::create_directory(sub));
  test::writeAudio(dir.file("a.mp3"), "A", "B", 1);
  std::string line = std::string("sub") + sep + ".." + sep + "." + sep + "a.mp3";
  test::writeText(test::joinPath(sub, "x.m3u"), ".." + std::string(1, sep) + line + "\n");
  ASSERT_EQ(loadPlaylist(list, test::joinPath(sub, "x.m3u").c_str()), 0);
  std::string text;
  renderPlaylist(list, false, text);
  EXPECT_EQ(text, dir.file("a.mp3") + "\r\n");
}

TEST_F(PlaylistFileTest, WavWithoutInformationIsKeptWithNoDuration) {
  test::writeText(dir.file("raw.wav"), "RIFF....WAVE");
  test::writeText(dir.file("junk.bin"), "junk");
  test::writeText(dir.file("x.m3u"), dir.file("raw.wav") + "\n" + dir.file("junk.bin") + "\n");
  EXPECT_EQ(loadPlaylist(list, dir.file("x.m3u").c_str()), 0);
  ASSERT_EQ(list.count(), 1);
  EXPECT_EQ(list.entry(0)->streamInfo.durationSeconds, -1);
  ASSERT_TRUE(savePlaylist(list, dir.file("out.m3u").c_str(), true));
  EXPECT_EQ(test::readText(dir.file("out.m3u")), "#EXTM3U\r\n#EXTINF:-1,raw.wav\r\n" + dir.file("raw.wav") + "\r\n");
}

TEST_F(PlaylistFileTest, UnreadableEmptyOrOversizedListsAddNothing) {
  EXPECT_EQ(loadPlaylist(list, dir.file("none.m3u").c_str()), -1);
  EXPECT_EQ(loadPlaylist(list, dir.path().c_str()), -1);
  test::writeText(dir.file("empty.m3u"), "");
  EXPECT_EQ(loadPlaylist(list, dir.file("empty.m3u").c_str()), -1);
  test::writeAudio(dir.file("a.mp3"), "A", "B", 1);
  std::string big = "a.mp3\n";
  big.resize(static_cast<size_t>(kMaxPlaylistBytes) + 1, '#');
  test::writeText(dir.file("big.m3u"), big);
  EXPECT_EQ(loadPlaylist(list, dir.file("big.m3u").c_str()), -1);
  big.resize(static_cast<size_t>(kMaxPlaylistBytes));
  test::writeText(dir.file("big.m3u"), big + "");
  EXPECT_EQ(loadPlaylist(list, dir.file("big.m3u").c_str()), 0);
  EXPECT_EQ(list.count(), 1);
}

TEST_F(PlaylistFileTest, SavingNeverLosesThePreviousList) {
  std::string target = dir.file("orva.m3u");
  test::writeText(target, "previous\r\n");
  EXPECT_FALSE(savePlaylist(list, target.c_str(), true));  // empty list: file untouched
  EXPECT_EQ(test::readText(target), "previous\r\n");

  test::writeAudio(dir.file("a.mp3"), "A", "B", 1);
  test::writeText(dir.file("in.m3u"), dir.file("a.mp3") + "\n");
  ASSERT_EQ(loadPlaylist(list, dir.file("in.m3u").c_str()), 0);
  // The new list cannot be written beside the old one: the old one stays.
  ASSERT_TRUE(std::filesystem::create_directory(target + ".new"));
  EXPECT_FALSE(savePlaylist(list, target.c_str(), true));
  EXPECT_EQ(test::readText(target), "previous\r\n");
  std::filesystem::remove(target + ".new");
  EXPECT_TRUE(savePlaylist(list, target.c_str(), true));
  EXPECT_NE(test::readText(target), "previous\r\n");
  EXPECT_FALSE(platform::fileExists((target + ".new").c_str()));
}

TEST_F(PlaylistFileTest, LineBreaksInTitlesDoNotSplitEntries) {
  test::writeAudio(dir.file("a.mp3"), "Two\nLines", "B", 1);
  test::writeText(dir.file("in.m3u"), dir.file("a.mp3") + "\n");
  ASSERT_EQ(loadPlaylist(list, dir.file("in.m3u").c_str()), 0);
  std::string text;
  renderPlaylist(list, true, text);
  EXPECT_EQ(text, "#EXTM3U\r\n#EXTINF:1,B - Two Lines\r\n" + dir.file("a.mp3") + "\r\n");
}

}  // namespace
}  // namespace orva

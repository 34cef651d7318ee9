#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "playlist/playlist.h"
#include "tests/playlist/playlist_fixtures.h"

namespace orva {
namespace {

PlaylistEntry* namedEntry(const std::string& text) {
  PlaylistEntry* e = newPlaylistEntry();
  std::strcpy(e->displayText, text.c_str());
  return e;
}

void fill(Playlist& list, int n) {
  for (int i = 0; i < n; ++i) list.insertEntry(namedEntry(std::to_string(i)));
}

TEST(DisplayText, ChosenFromTagInfoTextOrFileName) {
  PlaylistEntry e{};
  std::strcpy(e.tag.title, " ");
  std::strcpy(e.tag.artist, "Artist");
  buildDisplayText(e, "C:\\m\\file.mp3");
  EXPECT_STREQ(e.displayText, "file.mp3");

  std::strcpy(e.tag.title, "Song");
  buildDisplayText(e, "C:\\m\\file.mp3");
  EXPECT_STREQ(e.displayText, "Artist - Song");

  std::strcpy(e.infoText.slots[0], "Name");
  std::strcpy(e.infoText.slots[1], "Maker");
  buildDisplayText(e, "C:\\m\\file.mp3");
  EXPECT_STREQ(e.displayText, "Maker - Name");
}

TEST(DisplayText, DurationIsShownAsMinutesAndSeconds) {
  char text[16];
  formatDuration(215, text, sizeof text);
  EXPECT_STREQ(text, " 3:35");
  formatDuration(4500, text, sizeof text);
  EXPECT_STREQ(text, "75:00");
  formatDuration(-1, text, sizeof text);
  EXPECT_STREQ(text, "");
}

TEST(PlaylistModel, DropInsertsInOrderAtTheDropPoint) {
  Playlist list;
  fill(list, 4);
  list.insertIndex = 2;
  EXPECT_EQ(list.insertEntry(namedEntry("a")), 2);
  EXPECT_EQ(list.insertEntry(namedEntry("b")), 3);
  EXPECT_EQ(list.insertEntry(namedEntry("c")), 4);
  EXPECT_EQ(list.insertIndex, 5);
  EXPECT_EQ(test::displayTexts(list), (std::vector<std::string>{"0", "1", "a", "b", "c", "2", "3"}));
  list.insertIndex = -1;
  EXPECT_EQ(list.insertEntry(namedEntry("z")), 7);
}

TEST(PlaylistModel, RemovalKeepsTheCurrentEntryCurrent) {
  Playlist list;
  fill(list, 6);
  list.currentIndex = 4;
  const int32_t selected[] = {1, 3};
  list.deleteSelected(selected);
  EXPECT_EQ(test::displayTexts(list), (std::vector<std::string>{"0", "2", "4", "5"}));
  EXPECT_EQ(list.currentIndex, 2);
  EXPECT_STREQ(list.entry(list.currentIndex)->displayText, "4");

  // Removing the current entry itself leaves the index on its successor.
  const int32_t current[] = {2};
  list.deleteSelected(current);
  EXPECT_EQ(list.currentIndex, 2);
  EXPECT_STREQ(list.entry(2)->displayText, "5");

  list.deleteAll();
  EXPECT_EQ(list.count(), 0);
  EXPECT_EQ(list.currentIndex, 2);
}

TEST(PlaylistModel, RemovalIgnoresRowsThatAreNotThere) {
  Playlist list;
  fill(list, 3);
  list.currentIndex = 2;
  const int32_t selected[] = {0, 0, 7, -1};
  list.deleteSelected(selected);
  EXPECT_EQ(test::displayTexts(list), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(list.currentIndex, 1);
}

TEST(PlaylistModel, InsertionReadsTheWriteTime) {
  test::TempDir dir;
  test::writeText(dir.file("a.mp3"), "x");
  PlaylistEntry* e = newPlaylistEntry();
  std::strcpy(e->path, dir.file("a.mp3").c_str());
  PlaylistEntry* missing = newPlaylistEntry();
  std::strcpy(missing->path, dir.file("gone.mp3").c_str());
  Playlist list;
  list.insertEntry(e);
  list.insertEntry(missing);
  EXPECT_EQ(e->writeTimeRead, 1);
  EXPECT_GT(e->writeTime, 116444736000000000ull);  // after 1970
  EXPECT_EQ(missing->writeTimeRead, 1);
  EXPECT_EQ(missing->writeTime, 0u);
}

TEST(EntryFileInfo, ReadsAnMpegFileAndRejectsOthers) {
  std::string sample = test::joinPath(test::joinPath(test::sourceDir(), "samples"), "orva-theme.mp3");
  Id3v1Record tag{};
  FileInfo info{};
  InfoText infoText{};
  ASSERT_EQ(readEntryFileInfo(sample.c_str(), &tag, &info, &infoText, nullptr), 1);
  EXPECT_EQ(info.layer, 3);
  EXPECT_GT(info.seconds, 0);
  EXPECT_GT(info.sampleRate, 0);

  test::TempDir dir;
  test::writeText(dir.file("text.mp3"), "#EXTM3U\r\nnothing here\r\n");
  EXPECT_EQ(readEntryFileInfo(dir.file("text.mp3").c_str(), &tag, &info, &infoText, nullptr), 0);
  EXPECT_EQ(readEntryFileInfo(dir.file("missing.mp3").c_str(), &tag, &info, &infoText, nullptr), 0);
}

}  // namespace
}  // namespace orva

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "playlist/ordering.h"
#include "playlist/play_mode.h"
#include "tests/playlist/playlist_fixtures.h"

namespace orva {
namespace {

PlaylistEntry* entryWith(const char* text, const char* title = "t", uint64_t written = 0) {
  PlaylistEntry* e = newPlaylistEntry();
  std::strcpy(e->displayText, text);
  std::strcpy(e->tag.title, title);
  e->writeTime = written;
  return e;
}

// The list's display texts after inserting (insertEntry sets writeTimeRead only).
void fillTexts(Playlist& list, const std::vector<std::string>& texts) {
  for (const std::string& t : texts) list.insertEntry(entryWith(t.c_str(), t.c_str()));
}

TEST(Sorting, SameKeyTwiceReversesAnotherKeyStartsAscending) {
  Playlist list;
  fillTexts(list, {"b", "C", "a"});
  SortState state;
  sortPlaylist(list, state, SORT_TITLE, {});
  EXPECT_EQ(test::displayTexts(list), (std::vector<std::string>{"a", "b", "C"}));
  sortPlaylist(list, state, SORT_TITLE, {});
  EXPECT_EQ(test::displayTexts(list), (std::vector<std::string>{"C", "b", "a"}));
  sortPlaylist(list, state, SORT_SONG, {});
  EXPECT_EQ(test::displayTexts(list), (std::vector<std::string>{"a", "b", "C"}));
  EXPECT_EQ(state.sortDirection, 1);
  EXPECT_EQ(state.lastSortKey, SORT_SONG);
}

TEST(Sorting, SelectionSortsOnlyItsOwnPositions) {
  Playlist list;
  fillTexts(list, {"9", "8", "z", "7", "6", "y", "5", "4", "3", "x"});
  SortState state;
  const int32_t selected[] = {2, 5, 9};
  sortPlaylist(list, state, SORT_TITLE, selected);
  EXPECT_EQ(test::displayTexts(list), (std::vector<std::string>{"9", "8", "x", "7", "6", "y", "5", "4", "3", "z"}));
  // A single selected entry sorts the whole list.
  const int32_t one[] = {4};
  sortPlaylist(list, state, SORT_TIMESTAMP, one);
  EXPECT_EQ(list.count(), 10);
}

TEST(Sorting, TimeStampAndMultiByteCaseRules) {
  platform::setActiveCodePage(platform::CodePage::Cp932);
  Playlist list;
  list.insertEntry(entryWith("\x83\x61", "t", 30));  // a katakana whose trail byte is "a"
  list.insertEntry(entryWith("\x83\x41", "t", 10));  // the one whose trail byte is "A"
  list.insertEntry(entryWith("B", "t", 20));
  SortState state;
  sortPlaylist(list, state, SORT_TIMESTAMP, {});
  EXPECT_EQ(list.entry(0)->writeTime, 10u);
  EXPECT_EQ(list.entry(2)->writeTime, 30u);
  // Trail bytes are not folded: the two katakana stay distinct and ordered.
  sortPlaylist(list, state, SORT_TITLE, {});
  EXPECT_STREQ(list.entry(0)->displayText, "B");
  EXPECT_STREQ(list.entry(1)->displayText, "\x83\x41");
  platform::setActiveCodePage(platform::CodePage::System);
}

TEST(Sorting, TitlesFollowTheCodePagesCaseInsensitiveOrder) {
  Playlist list;
  // cp932: "_" before the letters (they fold to lower case), half-width ｱ
  // after ASCII and before all double-byte text, full-width ａ and Ｂ folded.
  platform::setActiveCodePage(platform::CodePage::Cp932);
  fillTexts(list, {"\x88\x9F", "b", "\xB1", "\x82\x61", "_x", "A", "\x82\x81"});
  SortState state;
  sortPlaylist(list, state, SORT_TITLE, {});
  EXPECT_EQ(test::displayTexts(list),
            (std::vector<std::string>{"_x", "A", "b", "\xB1", "\x82\x81", "\x82\x61", "\x88\x9F"}));
  // UTF-8: ASCII folds, the rest is code point order (表 U+8868 before ｱ U+FF71).
  platform::setActiveCodePage(platform::CodePage::Utf8);
  list.deleteAll();
  fillTexts(list, {"\xEF\xBD\xB1", "B", "\xE8\xA1\xA8", "_x", "a"});
  state = SortState{};
  sortPlaylist(list, state, SORT_TITLE, {});
  EXPECT_EQ(test::displayTexts(list), (std::vector<std::string>{"_x", "a", "B", "\xE8\xA1\xA8", "\xEF\xBD\xB1"}));
  platform::setActiveCodePage(platform::CodePage::System);
}

TEST(Sorting, TagKeysReadTagsOfEntriesThatHaveNone) {
  test::TempDir dir;
  test::writeAudio(dir.file("a.mp3"), "Zed", "Artist", 1);
  Playlist list;
  list.readFileInfo = test::fakeReadFileInfo;
  PlaylistEntry* fromList = entryWith("from an extended title", "");
  std::strcpy(fromList->path, dir.file("a.mp3").c_str());
  list.insertEntry(fromList);
  list.insertEntry(entryWith("other", "Alpha"));
  SortState state;
  sortPlaylist(list, state, SORT_SONG, {});
  EXPECT_STREQ(list.entry(0)->tag.title, "Alpha");
  EXPECT_STREQ(list.entry(1)->tag.title, "Zed");
}

int gNext = 0;
int countingRandom() { return gNext++ * 7919; }

TEST(Shuffle, OrderRepeatsEachCycleAndIsRebuiltWhenTheListGrows) {
  ShuffleState state;
  gNext = 0;
  std::vector<int32_t> first;
  for (int i = 0; i < 10; ++i) first.push_back(nextShuffleIndex(10, state, countingRandom));
  std::vector<int32_t> sorted = first;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, (std::vector<int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  for (int i = 0; i < 10; ++i) EXPECT_EQ(nextShuffleIndex(10, state, countingRandom), first[static_cast<size_t>(i)]);
  int before = gNext;
  int32_t index = nextShuffleIndex(11, state, countingRandom);
  EXPECT_EQ(gNext, before + 11);  // a new order of 11
  EXPECT_EQ(index, state.shuffleOrder[0]);
  EXPECT_EQ(nextShuffleIndex(0, state, countingRandom), -1);
  EXPECT_EQ(buildShuffleOrder(0, state, countingRandom), -1);
}

struct MoveCase {
  int count;
  std::vector<int32_t> selected;
  int32_t anchor;
  int32_t row;
  std::vector<std::string> expected;
};

TEST(Moving, BlocksMoveTogetherAndStopAtBothEnds) {
  const MoveCase cases[] = {
      {5, {1, 3}, 1, 2, {"0", "2", "1", "4", "3"}},  // down by one: targets 2 and 4
      {5, {3, 4}, 3, 9, {"0", "1", "2", "3", "4"}},  // last two further down: no move
      {5, {0}, 0, -3, {"0", "1", "2", "3", "4"}},    // first entry up: stays
      {5, {0, 1}, 0, 2, {"2", "3", "0", "1", "4"}},
      {5, {2, 4}, 4, 0, {"2", "0", "4", "1", "3"}},  // up by two, held at the top
  };
  for (const MoveCase& c : cases) {
    Playlist list;
    for (int i = 0; i < c.count; ++i) list.insertEntry(entryWith(std::to_string(i).c_str()));
    MoveState move;
    beginMove(move, list, c.selected, c.anchor);
    moveTo(move, c.row);
    for (int32_t s : c.selected) {
      PlaylistEntry* dragged = list.entry(s);
      EXPECT_EQ(dragged->moving, 1);
    }
    endMove(move, list);
    EXPECT_EQ(test::displayTexts(list), c.expected) << "anchor " << c.anchor << " row " << c.row;
    EXPECT_EQ(move.moveActive, 0);
  }
}

TEST(PlayModes, EndOfTrackRule) {
  EXPECT_EQ(endOfTrackAction(1, 1, LoopList), TrackEndAction::None);
  EXPECT_EQ(endOfTrackAction(2, 1, LoopList), TrackEndAction::None);
  EXPECT_EQ(endOfTrackAction(0, 1, LoopList), TrackEndAction::PlayNext);
  EXPECT_EQ(endOfTrackAction(0, 1, Shuffle), TrackEndAction::PlayNext);
  EXPECT_EQ(endOfTrackAction(0, 1, StopAfterTrack), TrackEndAction::StopPlaying);
  EXPECT_EQ(endOfTrackAction(0, 1, 7), TrackEndAction::StopPlaying);
  EXPECT_EQ(endOfTrackAction(0, 0, LoopList), TrackEndAction::ClearTitle);
}

TEST(PlayModes, NextAndPreviousByMode) {
  ShuffleState shuffle;
  EXPECT_EQ(nextEntryIndex(LoopList, 4, 5, 1, shuffle, countingRandom), 0);
  EXPECT_EQ(nextEntryIndex(StopAfterTrack, 1, 5, 1, shuffle, countingRandom), 2);
  EXPECT_EQ(nextEntryIndex(RepeatOne, 3, 5, 1, shuffle, countingRandom), 3);
  EXPECT_EQ(nextEntryIndex(RepeatOne, 3, 5, 0, shuffle, countingRandom), 4);
  EXPECT_EQ(nextEntryIndex(LoopList, 9, 5, 1, shuffle, countingRandom), 0);  // left past the end by removals
  EXPECT_EQ(nextEntryIndex(LoopList, 0, 0, 1, shuffle, countingRandom), -1);
  int32_t s = nextEntryIndex(Shuffle, 0, 5, 1, shuffle, countingRandom);
  EXPECT_EQ(s, shuffle.shuffleOrder[0]);
  EXPECT_EQ(previousEntryIndex(0, 5), 4);
  EXPECT_EQ(previousEntryIndex(3, 5), 2);
  EXPECT_EQ(previousEntryIndex(0, 0), -1);
  EXPECT_EQ(nextPlayMode(StopAfterTrack), LoopList);
  EXPECT_EQ(nextPlayMode(RepeatOne), Shuffle);
}

}  // namespace
}  // namespace orva

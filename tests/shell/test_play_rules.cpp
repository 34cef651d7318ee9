#include <gtest/gtest.h>

#include <vector>

#include "playlist/play_mode.h"
#include "shell/rules/play_rules.h"

namespace orva {
namespace {

int countingRandom() {
  static int n = 0;
  return n++ * 7;
}

TickDecision tick(TickInput input, FailedWalk& walk) {
  ShuffleState shuffle;
  return endOfTrackTick(input, walk, shuffle, countingRandom);
}

TEST(EndOfTrackTick, FollowsThePlayModeWhenNothingFailed) {
  const struct {
    TickInput input;
    TickStep step;
    int32_t index;
  } cases[] = {
      {{1, 1, LoopList, 2, 5}, TickStep::ShowPosition, -1}, {{2, 1, LoopList, 2, 5}, TickStep::ShowPosition, -1},
      {{0, 0, LoopList, 2, 5}, TickStep::ClearTitle, -1},   {{0, 1, LoopList, 2, 5}, TickStep::StartEntry, 3},
      {{0, 1, LoopList, 4, 5}, TickStep::StartEntry, 0},  // wraps
      {{0, 1, RepeatOne, 2, 5}, TickStep::StartEntry, 2},   {{0, 1, StopAfterTrack, 2, 5}, TickStep::StopPlaying, -1},
      {{0, 1, LoopList, 0, 0}, TickStep::StopPlaying, -1},  // an emptied list ends the playback
  };
  for (const auto& c : cases) {
    FailedWalk walk;
    TickDecision d = tick(c.input, walk);
    EXPECT_EQ(d.step, c.step) << c.input.playMode << " " << c.input.currentIndex;
    EXPECT_EQ(d.entryIndex, c.index) << c.input.playMode << " " << c.input.currentIndex;
  }
}

struct Walk {
  std::vector<int32_t> tried;
  TickStep end;
};

// The shell around the tick: the user presses Play on `current` (which sets
// continueFlag even when the start fails), then ticks run until an entry
// plays or the tick ends the walk.
Walk walkFrom(int32_t playMode, const std::vector<bool>& playable, int32_t current) {
  Walk result{{current}, TickStep::ShowPosition};
  FailedWalk walk;
  ShuffleState shuffle;
  bool started = playable[current];
  noteStart(walk, current, started);
  for (int ticks = 0; ticks < 50 && !started; ++ticks) {
    TickDecision d =
        endOfTrackTick({0, 1, playMode, current, static_cast<int32_t>(playable.size())}, walk, shuffle, countingRandom);
    if (d.step != TickStep::StartEntry) {
      result.end = d.step;
      return result;
    }
    result.tried.push_back(d.entryIndex);
    started = playable[d.entryIndex];
    if (started) current = d.entryIndex;
    noteStepStart(walk, d.entryIndex, started);
  }
  return result;
}

TEST(FailedWalk, SkipsDeadEntriesAndStopsWhenNoneCanPlay) {
  const struct {
    int32_t mode;
    std::vector<bool> playable;
    int32_t start;
    std::vector<int32_t> tried;
    TickStep end;
  } cases[] = {
      {LoopList, {false, false, true, false}, 3, {3, 0, 1, 2}, TickStep::ShowPosition},
      {LoopList, {false, false, false}, 1, {1, 2, 0}, TickStep::GiveUp},
      {LoopList, {false}, 0, {0}, TickStep::GiveUp},
      {RepeatOne, {false, true}, 0, {0}, TickStep::GiveUp},  // the repeated entry is the only one tried
      {StopAfterTrack, {false, false}, 0, {0}, TickStep::StopPlaying},
  };
  for (const auto& c : cases) {
    Walk w = walkFrom(c.mode, c.playable, c.start);
    EXPECT_EQ(w.tried, c.tried) << c.mode;
    EXPECT_EQ(w.end, c.end) << c.mode;
  }
}

TEST(FailedWalk, ShuffleGivesUpAfterAsManyFailuresAsEntries) {
  Walk w = walkFrom(Shuffle, std::vector<bool>(4, false), 0);
  EXPECT_EQ(w.tried.size(), 4u);
  EXPECT_EQ(w.end, TickStep::GiveUp);
}

TEST(FailedWalk, TheMessageStaysUntilSomethingStarts) {
  FailedWalk walk;
  noteStart(walk, 0, false);
  ASSERT_EQ(tick({0, 1, LoopList, 0, 1}, walk).step, TickStep::GiveUp);
  EXPECT_EQ(tick({0, 0, LoopList, 0, 1}, walk).step, TickStep::KeepTitle);
  EXPECT_EQ(tick({0, 0, LoopList, 0, 1}, walk).step, TickStep::KeepTitle);
  // After the message a new Play counts afresh.
  noteStart(walk, 0, false);
  EXPECT_EQ(tick({0, 0, LoopList, 0, 1}, walk).step, TickStep::ClearTitle);
  EXPECT_EQ(walk.failuresInRow, 1);
}

TEST(FailedWalk, AStartThatPlaysEndsTheCount) {
  FailedWalk walk;
  noteStart(walk, 1, false);
  noteStepStart(walk, 2, false);
  noteStepStart(walk, 3, true);
  EXPECT_EQ(walk.failuresInRow, 0);
  // The next end of track steps on from the entry that played.
  TickDecision d = tick({0, 1, LoopList, 3, 5}, walk);
  EXPECT_EQ(d.step, TickStep::StartEntry);
  EXPECT_EQ(d.entryIndex, 4);
}

}  // namespace
}  // namespace orva

// What the 500 ms tick does when the engine has stopped. A track that ended
// while playback is wanted (continueFlag 1) leads to the next entry by the
// play mode; a start that fails keeps the walk going to the entry after it,
// so unplayable files are skipped. The walk ends once as many starts have
// failed in a row as there are entries it could reach (the whole list; the
// one repeated entry in RepeatOne), and the title line says that nothing
// can play, instead of trying the same dead files every tick for ever.
#pragma once

#include <cstdint>

#include "playlist/ordering.h"

namespace orva {

// Failed starts since the last one that played.
struct FailedWalk {
  int32_t failuresInRow = 0;
  int32_t lastTried = -1;  // the entry the last failed start tried
  bool gaveUp = false;     // the title line shows the walk's end
};

struct TickInput {
  int32_t engineState;   // 0 stopped, 1 playing, 2 paused
  int32_t continueFlag;  // 1 while playback is wanted
  int32_t playMode;
  int32_t currentIndex;  // the entry that last started
  int32_t entryCount;
};

enum class TickStep {
  ShowPosition,  // something plays or is paused: the title line shows the position
  ClearTitle,    // nothing plays and nothing is wanted: the title line empties
  KeepTitle,     // nothing plays since the walk gave up: its message stays
  StopPlaying,   // the track ended in StopAfterTrack, or the list is empty: continueFlag = 0
  StartEntry,    // start `entryIndex`, report it with noteStepStart, continueFlag stays 1
  GiveUp,        // nothing in the list can play: continueFlag = 0, title kNothingPlayableTitle
};

struct TickDecision {
  TickStep step;
  int32_t entryIndex;  // StartEntry: the entry to start; -1 otherwise
};

TickDecision endOfTrackTick(const TickInput& input, FailedWalk& walk, ShuffleState& shuffle, RandomSource random);

// A start the user asked for (play, next, a double click, ...): a new walk
// begins with it.
void noteStart(FailedWalk& walk, int32_t index, bool started);
// A start the tick asked for: one more step of the walk.
void noteStepStart(FailedWalk& walk, int32_t index, bool started);

}  // namespace orva

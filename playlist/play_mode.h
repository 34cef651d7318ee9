// The four play modes and what the player does when a track ends: the
// choice of the next entry ("next" and the end-of-track step) and of the
// previous one. Pure functions; the shell's 500 ms timer drives them.
#pragma once

#include <cstdint>

#include "playlist/ordering.h"

namespace orva {

enum PlayMode : int32_t {
  LoopList = 0,
  RepeatOne = 1,
  Shuffle = 2,
  StopAfterTrack = 3,
};

// What the timer does when it sees the engine's state.
enum class TrackEndAction {
  None,         // something plays or is paused
  PlayNext,     // the track ended and playback is wanted: "next"
  StopPlaying,  // the track ended in StopAfterTrack: clear continueFlag
  ClearTitle,   // nothing plays and nothing is wanted
};

TrackEndAction endOfTrackAction(int32_t engineState, int32_t continueFlag, int32_t playMode);

// "next": LoopList and StopAfterTrack step on, RepeatOne stays while
// continueFlag is 1, Shuffle takes the shuffle order; past the last entry
// wraps to 0. -1 for an empty list.
int32_t nextEntryIndex(int32_t playMode, int32_t currentIndex, int32_t count, int32_t continueFlag,
                       ShuffleState& shuffle, RandomSource random);
// "previous": one back, from the first entry to the last. -1 for an empty list.
int32_t previousEntryIndex(int32_t currentIndex, int32_t count);
// The mode button: 0, 1, 2, 3, 0, ...
int32_t nextPlayMode(int32_t playMode);

}  // namespace orva

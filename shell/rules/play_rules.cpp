// The end-of-track tick; see play_rules.h.
#include "shell/rules/play_rules.h"

#include "playlist/play_mode.h"

namespace orva {

namespace {

// How many entries a walk in this mode can ever reach: RepeatOne keeps
// trying the one entry, the other modes go round the whole list.
int32_t reachableEntries(int32_t playMode, int32_t entryCount) { return playMode == RepeatOne ? 1 : entryCount; }

TickDecision decide(TickStep step, int32_t entryIndex = -1) { return {step, entryIndex}; }

}  // namespace

TickDecision endOfTrackTick(const TickInput& input, FailedWalk& walk, ShuffleState& shuffle, RandomSource random) {
  switch (endOfTrackAction(input.engineState, input.continueFlag, input.playMode)) {
    case TrackEndAction::None: return decide(TickStep::ShowPosition);
    case TrackEndAction::ClearTitle: return decide(walk.gaveUp ? TickStep::KeepTitle : TickStep::ClearTitle);
    case TrackEndAction::StopPlaying: return decide(TickStep::StopPlaying);
    case TrackEndAction::PlayNext: break;
  }
  if (input.entryCount <= 0) return decide(TickStep::StopPlaying);
  if (walk.failuresInRow >= reachableEntries(input.playMode, input.entryCount)) {
    walk = FailedWalk{};
    walk.gaveUp = true;
    return decide(TickStep::GiveUp);
  }
  // A failed start leaves currentIndex alone; the walk goes on from the entry it tried.
  const int32_t from = walk.failuresInRow > 0 ? walk.lastTried : input.currentIndex;
  return decide(TickStep::StartEntry,
                nextEntryIndex(input.playMode, from, input.entryCount, input.continueFlag, shuffle, random));
}

void noteStart(FailedWalk& walk, int32_t index, bool started) {
  walk = FailedWalk{};
  noteStepStart(walk, index, started);
}

void noteStepStart(FailedWalk& walk, int32_t index, bool started) {
  walk.gaveUp = false;
  if (started) {
    walk.failuresInRow = 0;
    walk.lastTried = -1;
    return;
  }
  ++walk.failuresInRow;
  walk.lastTried = index;
}

}  // namespace orva

// Play mode arithmetic; see play_mode.h.
#include "playlist/play_mode.h"

namespace orva {

TrackEndAction endOfTrackAction(int32_t engineState, int32_t continueFlag, int32_t playMode) {
  if (engineState != 0) return TrackEndAction::None;
  if (continueFlag == 0) return TrackEndAction::ClearTitle;
  return playMode >= StopAfterTrack ? TrackEndAction::StopPlaying : TrackEndAction::PlayNext;
}

int32_t nextEntryIndex(int32_t playMode, int32_t currentIndex, int32_t count, int32_t continueFlag,
                       ShuffleState& shuffle, RandomSource random) {
  if (count <= 0) return -1;
  int32_t index = currentIndex;
  if (playMode == Shuffle) {
    index = nextShuffleIndex(count, shuffle, random);
  } else if (playMode != RepeatOne || continueFlag != 1) {
    index = currentIndex + 1;
  }
  // A current index left behind by removals may lie anywhere.
  return (index < 0 || index >= count) ? 0 : index;
}

int32_t previousEntryIndex(int32_t currentIndex, int32_t count) {
  if (count <= 0) return -1;
  int32_t index = currentIndex - 1;
  if (index < 0) return count - 1;
  return index >= count ? count - 1 : index;
}

int32_t nextPlayMode(int32_t playMode) { return playMode + 1 > StopAfterTrack ? LoopList : playMode + 1; }

}  // namespace orva

// Changing the order of the play list or of playing it: sorting by one of
// five keys, the shuffle order, and moving the selected block by dragging.
// All work on entry positions only and leave currentIndex alone.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "playlist/playlist.h"

namespace orva {

// Sort keys by their menu command ids.
enum SortKey : int32_t {
  SORT_TITLE = 40027,      // display text
  SORT_ARTIST = 40028,     // tag artist
  SORT_SONG = 40029,       // tag title
  SORT_DATE = 40030,       // tag year
  SORT_TIMESTAMP = 40035,  // file last-write time
};

struct SortState {
  int32_t lastSortKey = 0;
  int32_t sortDirection = 1;
};

// The same key twice in a row reverses the direction; another key sorts
// ascending. With more than one entry selected (ascending positions) only
// those entries are permuted over their positions. Keys other than the
// title first read the tags of entries that have no tag title.
void sortPlaylist(Playlist& list, SortState& state, int32_t key, std::span<const int32_t> selected);

using RandomSource = int (*)();

struct ShuffleState {
  std::vector<int32_t> shuffleOrder;
  int32_t shuffleCount = 0;
  int32_t shufflePosition = 0;
};

// A fresh order of `count` positions; the count, or -1 for an empty list.
int32_t buildShuffleOrder(int32_t count, ShuffleState& state, RandomSource random);
// The next position of the order, rebuilt whenever the list size changed;
// the same order repeats cycle after cycle. -1 for an empty list.
int32_t nextShuffleIndex(int32_t count, ShuffleState& state, RandomSource random);

struct MoveState {
  int32_t moveActive = 0;
  int32_t anchor = 0;
  std::vector<PlaylistEntry*> before;  // entries by position when the move began
  std::vector<PlaylistEntry*> after;   // the order the move would leave
  std::vector<int32_t> selected;       // ascending
  std::vector<int32_t> targets;        // where each selected entry goes
  std::vector<int32_t> unselected;     // ascending
};

// Starts a drag of the selected rows held at row `anchor`.
void beginMove(MoveState& move, const Playlist& list, std::span<const int32_t> selected, int32_t anchor);
// The block follows the pointer to `row` as one piece and stops at either
// end of the list; entries of the block get moving = 1.
void moveTo(MoveState& move, int32_t row);
// The entry drawn at `row` during the drag (null outside the list).
PlaylistEntry* movedEntryAt(const MoveState& move, int32_t row);
// Writes the new order into the list and ends the drag.
void endMove(MoveState& move, Playlist& list);

}  // namespace orva

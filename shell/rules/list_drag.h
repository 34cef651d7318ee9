// The play list box's move drag as its mouse messages drive it: which click
// starts a move, when the block follows the pointer, and what a release
// leaves behind. The block arithmetic and the order written on the drop are
// the play list's own (beginMove, moveTo, endMove); this adds the state the
// list box keeps between messages. The list box's subclass procedure calls
// these on the UI thread and carries out the window side (capture, repaint,
// replaying the click).
#pragma once

#include <cstdint>
#include <span>

#include "playlist/ordering.h"
#include "playlist/playlist.h"

namespace orva {

enum ListDragState : int32_t {
  kListDragIdle = 0,
  kListDragMoving = 1,
  kListDragJustEnded = 2,  // the replayed click after a drop goes on to the list box
};

struct ListDrag {
  int32_t dragState = kListDragIdle;
  int32_t lastRow = -1;  // the row the block was last moved to
  MoveState move;
};

// WM_LBUTTONDOWN on `row` with the list box's selection `selected`
// (ascending). True when the click on a selected row began a move: the
// caller captures the mouse and consumes the click. After a drop, the
// replayed click is let through and the drag state returns to idle.
bool listDragButtonDown(ListDrag& drag, const Playlist& list, std::span<const int32_t> selected, int32_t row);

enum class ListDragMove : uint8_t {
  Nothing,
  Release,  // the button went up unseen: end the drag as a WM_LBUTTONUP would
  Repaint,  // the block moved: repaint the list box
};

// WM_MOUSEMOVE during a move, with the item under the pointer (the low word
// of LB_ITEMFROMPOINT, which names the nearest row when the pointer is off
// the list; the block stops at either end of the list by itself).
ListDragMove listDragMouseMove(ListDrag& drag, bool leftButtonDown, int32_t row);

// WM_LBUTTONUP: true when a move ended and its order is now the list's; the
// caller deselects everything, replays the click, repaints and releases the
// capture.
bool listDragButtonUp(ListDrag& drag, Playlist& list);

// Drops a running move without writing its order, for when entries come or
// go under it (a forwarded command line, a key in the list box): the drag's
// copy of the order would name entries no longer there. Clears the moving
// flags of the entries the list holds.
void listDragCancel(ListDrag& drag, Playlist& list);

// The entry row `row` shows during a move (null past the end), or null when
// no move runs and the row's item data stands.
PlaylistEntry* listDragEntryAt(const ListDrag& drag, int32_t row);

}  // namespace orva

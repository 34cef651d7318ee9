// The list box's move drag between mouse messages.
#include "shell/rules/list_drag.h"

#include <algorithm>

namespace orva {

bool listDragButtonDown(ListDrag& drag, const Playlist& list, std::span<const int32_t> selected, int32_t row) {
  if (drag.dragState == kListDragJustEnded) {
    drag.dragState = kListDragIdle;
    return false;
  }
  if (drag.dragState != kListDragIdle) return false;
  if (std::find(selected.begin(), selected.end(), row) == selected.end()) return false;
  beginMove(drag.move, list, selected, row);
  // Moving the block onto its own rows marks its entries as moving, so a
  // repaint before the pointer leaves the row still highlights them.
  moveTo(drag.move, row);
  drag.dragState = kListDragMoving;
  drag.lastRow = row;
  return true;
}

ListDragMove listDragMouseMove(ListDrag& drag, bool leftButtonDown, int32_t row) {
  if (drag.dragState != kListDragMoving) return ListDragMove::Nothing;
  if (!leftButtonDown) return ListDragMove::Release;
  if (row == drag.lastRow) return ListDragMove::Nothing;
  moveTo(drag.move, row);
  drag.lastRow = row;
  return ListDragMove::Repaint;
}

bool listDragButtonUp(ListDrag& drag, Playlist& list) {
  if (drag.dragState != kListDragMoving) return false;
  endMove(drag.move, list);
  drag.dragState = kListDragJustEnded;
  drag.lastRow = -1;
  return true;
}

void listDragCancel(ListDrag& drag, Playlist& list) {
  if (drag.dragState != kListDragMoving) return;
  for (int32_t i = 0; i < list.count(); ++i) list.entry(i)->moving = 0;
  drag.move = MoveState{};
  drag.dragState = kListDragIdle;
  drag.lastRow = -1;
}

PlaylistEntry* listDragEntryAt(const ListDrag& drag, int32_t row) {
  if (drag.dragState != kListDragMoving) return nullptr;
  return movedEntryAt(drag.move, row);
}

}  // namespace orva

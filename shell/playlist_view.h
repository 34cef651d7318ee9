// The play list box: a thin view over the play list. Each row's item data
// is the entry at that position; rows are owner-drawn. Its procedure adds
// the keys, the double click, the move drag and the list menu. Window
// thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace orva {

// Subclasses the list box and makes it the play list's view.
void attachPlaylistBox(HWND box);
void detachPlaylistBox();

// Drops a running move drag without writing its order (before entries come
// or go under it) and gives the mouse back.
void cancelMoveDrag();

// WM_DRAWITEM for the list box.
void drawPlaylistRow(const DRAWITEMSTRUCT& item);

// The list box's selection, ascending.
std::vector<int32_t> selectedRows();
int32_t selectedCount();
// The caret item, or -1.
int32_t caretRow();
// Deselects everything, selects `row` and makes it the caret item.
void selectOnly(int32_t row);
void repaintPlaylist();
// Repaints one row at once, so long additions appear row by row.
void repaintRow(int32_t row);
// The row under a screen point, or -1 when the point is not on an item.
int32_t playlistRowAt(POINT screen);

// Commands of the list menu (pop-up 1), sent to the list box.
void onPlaylistCommand(int32_t id);

}  // namespace orva

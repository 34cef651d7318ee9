// The play list box. The list box holds no strings: row i's item data is
// the play list's entry i, kept so by the view below whenever the model
// changes. Its procedure adds the keys, the double click, the move drag
// and the list menu.
#include "shell/playlist_view.h"
#include "shell/menus.h"

#include <windows.h>

#include <commctrl.h>

#include <bitset>
#include <cstring>

#include "playlist/ordering.h"
#include "resources/resource_ids.h"
#include "shell/commands.h"
#include "shell/file_dialogs.h"
#include "shell/gdi_resources.h"
#include "shell/info_dialog.h"
#include "shell/rules/key_commands.h"
#include "shell/rules/list_drag.h"
#include "shell/rules/row_paint.h"
#include "shell/shell_state.h"
#include "shell/wait_cursor.h"

namespace orva {

namespace {

HWND gBox = nullptr;
WNDPROC gBoxPrevious = nullptr;
// Keys that went down while the list box had the focus. A key-up acts only
// for those: the Enter that confirms a dialog opened from the list menu is
// released after the focus came back here, and must not start the caret
// item.
std::bitset<256> gKeysDown;

LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageA(gBox, message, wParam, lParam); }

// Keeps the rows in step with the model.
class PlaylistBoxView final : public PlaylistView {
 public:
  void entryInserted(int32_t index) override {
    send(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(shellState().playlist.entry(index)));
    repaintRow(index);
  }
  void entryRemoved(int32_t index) override { send(LB_DELETESTRING, static_cast<WPARAM>(index)); }
  void orderChanged() override {
    const Playlist& list = shellState().playlist;
    for (int32_t row = 0; row < list.count(); ++row) {
      send(LB_SETITEMDATA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(list.entry(row)));
    }
    InvalidateRect(gBox, nullptr, FALSE);
  }
};
PlaylistBoxView gView;

LRESULT passOn(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(gBoxPrevious, box, message, wParam, lParam);
}

// LB_ITEMFROMPOINT's low word: the nearest row, also off the items.
int32_t nearestRow(LPARAM clientPoint) { return LOWORD(send(LB_ITEMFROMPOINT, 0, clientPoint)); }

bool moveDragRunning() { return shellState().listDrag.dragState == kListDragMoving; }

void removeSelection() {
  ShellState& s = shellState();
  cancelMoveDrag();
  const std::vector<int32_t> rows = selectedRows();
  s.playlist.deleteSelected(rows);
}

void removeAll() {
  ShellState& s = shellState();
  cancelMoveDrag();
  s.playlist.deleteAll();
  repaintPlaylist();
}

void showCaretEntryInfo() {
  const int32_t row = caretRow();
  if (shellState().playlist.entry(row) != nullptr) showInfoDialog(gBox, row);
}

void sortBy(int32_t key) {
  ShellState& s = shellState();
  WaitCursor wait;
  cancelMoveDrag();
  const std::vector<int32_t> rows = selectedRows();
  sortPlaylist(s.playlist, s.sort, key, rows);
  InvalidateRect(gBox, nullptr, FALSE);
  UpdateWindow(s.mainWindow);
}

LRESULT onKeyDown(HWND box, WPARAM key, LPARAM lParam) {
  if (key < gKeysDown.size()) gKeysDown.set(key);
  applyKeyCommand(keyDownCommand(static_cast<uint32_t>(key), KeyReceiver::PlaylistBox));
  return passOn(box, WM_KEYDOWN, key, lParam);
}

LRESULT onKeyUp(HWND box, WPARAM key, LPARAM lParam) {
  const bool pressedHere = key < gKeysDown.size() && gKeysDown.test(key);
  if (key < gKeysDown.size()) gKeysDown.reset(key);
  if (!pressedHere) return passOn(box, WM_KEYUP, key, lParam);
  switch (playlistKeyUpCommand(static_cast<uint32_t>(key))) {
    case ListKeyUp::PlayCaretItem: playEntry(caretRow()); break;
    case ListKeyUp::RemoveSelection: removeSelection(); break;
    case ListKeyUp::None: break;
  }
  return passOn(box, WM_KEYUP, key, lParam);
}

// Ctrl+A selects everything; other Ctrl characters would make the list box
// jump to rows by their (absent) strings.
LRESULT onChar(HWND box, WPARAM character, LPARAM lParam) {
  if ((GetKeyState(VK_CONTROL) & 0x8000) == 0) return passOn(box, WM_CHAR, character, lParam);
  if ((GetKeyState('A') & 0x8000) != 0) send(LB_SETSEL, TRUE, -1);
  return 0;
}

LRESULT onButtonDown(HWND box, WPARAM keys, LPARAM point) {
  ShellState& s = shellState();
  if (listDragButtonDown(s.listDrag, s.playlist, selectedRows(), nearestRow(point))) {
    SetCapture(box);
    return 0;
  }
  return passOn(box, WM_LBUTTONDOWN, keys, point);
}

LRESULT onMouseMove(HWND box, WPARAM keys, LPARAM point) {
  ShellState& s = shellState();
  if (s.listDrag.dragState != kListDragMoving) return passOn(box, WM_MOUSEMOVE, keys, point);
  POINT screen{static_cast<int16_t>(LOWORD(point)), static_cast<int16_t>(HIWORD(point))};
  ClientToScreen(box, &screen);
  LBItemFromPt(box, screen, TRUE);  // scrolls toward the pointer
  switch (listDragMouseMove(s.listDrag, (keys & MK_LBUTTON) != 0, nearestRow(point))) {
    case ListDragMove::Release: SendMessageA(box, WM_LBUTTONUP, keys, point); break;
    case ListDragMove::Repaint: InvalidateRect(box, nullptr, FALSE); break;
    case ListDragMove::Nothing: break;
  }
  return 0;
}

LRESULT onButtonUp(HWND box, WPARAM keys, LPARAM point) {
  ShellState& s = shellState();
  if (!listDragButtonUp(s.listDrag, s.playlist)) return passOn(box, WM_LBUTTONUP, keys, point);
  // The list box selects the row under the pointer as for a plain click.
  send(LB_SETSEL, FALSE, -1);
  SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, point);
  passOn(box, WM_LBUTTONUP, 0, point);
  InvalidateRect(box, nullptr, FALSE);
  UpdateWindow(s.mainWindow);
  ReleaseCapture();
  return 0;
}

LRESULT onKillFocus(HWND box, WPARAM next) {
  gKeysDown.reset();
  return passOn(box, WM_KILLFOCUS, next, 0);
}

// A right click in the middle of a move drag is ignored: selecting a row
// for the menu would end the drag without writing its order and leave the
// rows showing neither the old order nor the new one.
LRESULT onRightButtonUp(HWND box, WPARAM keys, LPARAM point) {
  ShellState& s = shellState();
  if (moveDragRunning()) return 0;
  if (selectedCount() <= 1) {
    s.listDrag.dragState = kListDragJustEnded;
    SendMessageA(box, WM_LBUTTONDOWN, MK_LBUTTON, point);
    passOn(box, WM_LBUTTONUP, 0, point);
  }
  if (s.listDrag.dragState == kListDragIdle) {
    popUpMenuAtCursor(POPUP_LIST, box, TPM_RIGHTBUTTON);
  }
  return 0;
}

LRESULT onDoubleClick(HWND box, WPARAM keys, LPARAM point) {
  playEntry(caretRow());
  return passOn(box, WM_LBUTTONDBLCLK, keys, point);
}

LRESULT CALLBACK playlistBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN: return onKeyDown(box, wParam, lParam);
    case WM_KEYUP: return onKeyUp(box, wParam, lParam);
    case WM_KILLFOCUS: return onKillFocus(box, wParam);
    case WM_CHAR: return onChar(box, wParam, lParam);
    case WM_LBUTTONDOWN: return onButtonDown(box, wParam, lParam);
    case WM_MOUSEMOVE: return onMouseMove(box, wParam, lParam);
    case WM_LBUTTONUP: return onButtonUp(box, wParam, lParam);
    case WM_RBUTTONUP: return onRightButtonUp(box, wParam, lParam);
    case WM_LBUTTONDBLCLK: return onDoubleClick(box, wParam, lParam);
    case WM_COMMAND: onPlaylistCommand(LOWORD(wParam)); return 0;
  }
  return passOn(box, message, wParam, lParam);
}

void paintRowTexts(HDC dc, const RECT& item, const RowPaint& paint, const PlaylistEntry& entry) {
  const Rect row{item.left, item.top, item.right, item.bottom};
  const bool hasDuration = paint.duration[0] != '\0';
  SIZE durationSize{0, 0};
  if (hasDuration)
    GetTextExtentPoint32A(dc, paint.duration, static_cast<int>(std::strlen(paint.duration)), &durationSize);
  const RowTextLayout layout = rowTextLayout(row, hasDuration, durationSize.cx);
  if (!layout.hasDuration) {
    TextOutA(dc, layout.textOrigin.x, layout.textOrigin.y, entry.displayText,
             static_cast<int>(std::strlen(entry.displayText)));
    return;
  }
  RECT duration{layout.durationRect.left, layout.durationRect.top, layout.durationRect.right,
                layout.durationRect.bottom};
  DrawTextA(dc, paint.duration, -1, &duration, DT_RIGHT | DT_NOPREFIX | DT_SINGLELINE);
  RECT text{layout.textRect.left, layout.textRect.top, layout.textRect.right, layout.textRect.bottom};
  DrawTextA(dc, entry.displayText, -1, &text, DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE);
}

}  // namespace

void attachPlaylistBox(HWND box) {
  gBox = box;
  gBoxPrevious =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(playlistBoxProc)));
  shellState().playlist.view = &gView;
}

void cancelMoveDrag() {
  ShellState& s = shellState();
  if (!moveDragRunning()) return;
  listDragCancel(s.listDrag, s.playlist);
  if (GetCapture() == gBox) ReleaseCapture();
  InvalidateRect(gBox, nullptr, FALSE);
}

void detachPlaylistBox() {
  shellState().playlist.view = nullptr;
  if (gBox != nullptr && gBoxPrevious != nullptr) {
    SetWindowLongPtrA(gBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gBoxPrevious));
  }
  gBox = nullptr;
  gBoxPrevious = nullptr;
}

void drawPlaylistRow(const DRAWITEMSTRUCT& item) {
  const ShellState& s = shellState();
  const GdiResources& r = gdiResources();
  const int32_t row = static_cast<int32_t>(item.itemID);
  const bool moving = moveDragRunning();
  const PlaylistEntry* entry = nullptr;
  if (item.itemID != static_cast<UINT>(-1)) {
    entry = moving ? listDragEntryAt(s.listDrag, row) : s.playlist.entry(row);
  }
  RowPaintInput in{};
  in.itemAction = item.itemAction;
  in.itemState = item.itemState;
  in.hasEntry = entry != nullptr;
  in.moveActive = moving;
  in.entryMoving = entry != nullptr && entry->moving != 0;
  in.durationSeconds = entry != nullptr ? entry->streamInfo.durationSeconds : -1;
  in.windowColour = r.windowColour;
  const RowPaint paint = rowPaint(in);
  if (paint.kind == RowPaintKind::Nothing) return;
  if (paint.kind == RowPaintKind::FocusRect) {
    DrawFocusRect(item.hDC, &item.rcItem);
    return;
  }
  const HGDIOBJ pen = SelectObject(item.hDC, paint.highlighted ? r.selectionPen : r.windowPen);
  const HGDIOBJ brush = SelectObject(item.hDC, paint.highlighted ? r.selectionBrush : r.windowBrush);
  Rectangle(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, paint.text);
  paintRowTexts(item.hDC, item.rcItem, paint, *entry);
  SelectObject(item.hDC, brush);
  SelectObject(item.hDC, pen);
}

std::vector<int32_t> selectedRows() {
  const LRESULT count = send(LB_GETSELCOUNT);
  if (count <= 0) return {};
  std::vector<int> rows(static_cast<size_t>(count));
  const LRESULT got = send(LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(rows.data()));
  rows.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return std::vector<int32_t>(rows.begin(), rows.end());
}

int32_t selectedCount() {
  const LRESULT count = send(LB_GETSELCOUNT);
  return count > 0 ? static_cast<int32_t>(count) : 0;
}

int32_t caretRow() {
  if (send(LB_GETCOUNT) <= 0) return -1;
  const LRESULT caret = send(LB_GETCARETINDEX);
  return caret == LB_ERR ? -1 : static_cast<int32_t>(caret);
}

void selectOnly(int32_t row) {
  send(LB_SETSEL, FALSE, -1);
  send(LB_SETSEL, TRUE, row);
  send(LB_SETCARETINDEX, static_cast<WPARAM>(row), FALSE);
  InvalidateRect(gBox, nullptr, FALSE);
}

void repaintPlaylist() {
  InvalidateRect(gBox, nullptr, TRUE);
  UpdateWindow(gBox);
}

void repaintRow(int32_t row) {
  RECT r;
  if (send(LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r)) == LB_ERR) return;
  InvalidateRect(gBox, &r, FALSE);
  UpdateWindow(gBox);
}

int32_t playlistRowAt(POINT screen) {
  POINT client = screen;
  ScreenToClient(gBox, &client);
  const LRESULT hit = send(LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
  if (HIWORD(hit) != 0) return -1;
  return LOWORD(hit);
}

void onPlaylistCommand(int32_t id) {
  ShellState& s = shellState();
  switch (id) {
    case IDM_LOAD_FILES: openFilesDialog(s.mainWindow); break;
    case IDM_PLAY_SELECTED: playEntry(caretRow()); break;
    case IDM_REMOVE_ITEMS: removeSelection(); break;
    case IDM_SAVE_LIST_AS: savePlaylistAsDialog(gBox); break;
    case IDM_SORT_TITLE:
    case IDM_SORT_ARTIST:
    case IDM_SORT_SONG:
    case IDM_SORT_DATE:
    case IDM_SORT_TIME_STAMP: sortBy(id); break;
    case IDM_OPEN_FOLDER: addFolderDialog(s.mainWindow); break;
    case IDM_REMOVE_ALL: removeAll(); break;
    case IDM_INFORMATION: showCaretEntryInfo(); break;
    default: break;
  }
}

}  // namespace orva

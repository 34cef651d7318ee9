// The main window's procedure and its small handlers: commands, keys,
// forwarded command lines, drops, menus and the messages of the controls.
#include "shell/main_window.h"

#include <windows.h>

#include <mmsystem.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "orva_engine.h"
#include "playlist/add_files.h"
#include "resources/resource_ids.h"
#include "shell/about_dialog.h"
#include "shell/commands.h"
#include "shell/controls.h"
#include "shell/file_dialogs.h"
#include "shell/gdi_resources.h"
#include "shell/joystick.h"
#include "shell/menus.h"
#include "shell/playlist_view.h"
#include "shell/rules/forwarding.h"
#include "shell/rules/key_commands.h"
#include "shell/rules/layout_rules.h"
#include "shell/rules/row_paint.h"
#include "shell/shell_state.h"
#include "shell/tray.h"
#include "shell/wait_cursor.h"
#include "shell/window_layout.h"

namespace orva {

namespace {

// Client coordinates of a mouse message; negative beyond the left and top
// edges while the mouse is captured.
POINT mousePoint(LPARAM lParam) {
  return POINT{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
}

void flipMenuCheck(UINT id, int32_t& flag) {
  ShellState& s = shellState();
  flag = flag ? 0 : 1;
  CheckMenuItem(s.menu, id, MF_BYCOMMAND | (flag ? MF_CHECKED : MF_UNCHECKED));
}

void toggleAlwaysOnTop() {
  ShellState& s = shellState();
  flipMenuCheck(IDM_ALWAYS_ON_TOP, s.alwaysOnTop);
  const HWND band = s.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST;
  SetWindowPos(s.mainWindow, band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
  SetWindowPos(s.lyricsWindow, band, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void onTransportCommand(int32_t id) {
  switch (id) {
    case IDM_PREVIOUS: return doAction(kActionPrevious);
    case IDM_PLAY: return doAction(kActionPlay);
    case IDM_PAUSE: return doAction(kActionPause);
    case IDM_STOP: return doAction(kActionStop);
    case IDM_NEXT: return doAction(kActionNext);
  }
}

void onToggleCommand(int32_t id) {
  switch (id) {
    case IDC_LIST_TOGGLE: return doAction(kActionToggleList);
    case IDC_EQUALIZER_TOGGLE: return doAction(kActionToggleEqualizer);
    case IDC_LYRICS_TOGGLE: return doAction(kActionToggleLyrics);
    case IDC_MODE: return doAction(kActionCycleMode);
  }
}

void onOptionCommand(int32_t id) {
  ShellState& s = shellState();
  switch (id) {
    case IDM_ALWAYS_ON_TOP: return toggleAlwaysOnTop();
    case IDM_STICKY_MODE: return flipMenuCheck(IDM_STICKY_MODE, s.stickyMode);
    case IDM_SAVE_SETTINGS: return flipMenuCheck(IDM_SAVE_SETTINGS, s.saveSettingsEnabled);
  }
}

LRESULT onCommand(int32_t id) {
  ShellState& s = shellState();
  switch (id) {
    case IDM_PREVIOUS:
    case IDM_PLAY:
    case IDM_PAUSE:
    case IDM_STOP:
    case IDM_NEXT: onTransportCommand(id); break;
    case IDC_LIST_TOGGLE:
    case IDC_EQUALIZER_TOGGLE:
    case IDC_LYRICS_TOGGLE:
    case IDC_MODE: onToggleCommand(id); break;
    case IDM_ALWAYS_ON_TOP:
    case IDM_STICKY_MODE:
    case IDM_SAVE_SETTINGS: onOptionCommand(id); break;
    case IDC_CLOSE:
    case IDM_EXIT: DestroyWindow(s.mainWindow); break;
    case IDM_ABOUT: showAboutBox(s.mainWindow); break;
    case IDM_LOAD_FILES: playEntry(openFilesDialog(s.mainWindow)); break;
    default: break;  // the greyed settings item among them
  }
  return 0;
}

LRESULT onTimer(WPARAM id) {
  if (id == IDT_MAIN_TICK) mainTick();
  if (id == IDT_FAST_TICK) fastTick();
  return 0;
}

LRESULT onAppCommand(HWND window, WPARAM wParam, LPARAM lParam) {
  if (applyAppCommand(GET_APPCOMMAND_LPARAM(lParam))) return TRUE;
  return DefWindowProcA(window, WM_APPCOMMAND, wParam, lParam);
}

LRESULT onKeyDown(WPARAM key) {
  applyKeyCommand(keyDownCommand(static_cast<uint32_t>(key), KeyReceiver::MainWindow));
  return 0;
}

// Any program on the desktop can send this message: the text is used only
// when it carries our tag and ends within its stated size. A message sent
// from another process is delivered whenever this thread waits inside a
// system call (a wave device opening, the tray icon), even in the middle of
// starting a track, so the text is only kept here and acted on from the
// message loop.
LRESULT onCopyData(const COPYDATASTRUCT* data) {
  if (data == nullptr) return 0;
  std::vector<char> text(kForwardedTextCapacity);
  const CopyData payload{data->dwData, data->cbData, data->lpData};
  if (!acceptForwardedText(payload, text.data(), text.size())) return 0;
  ShellState& s = shellState();
  s.forwardedLines.emplace_back(text.data());
  PostMessageA(s.mainWindow, WM_ORVA_FORWARDED, 0, 0);
  return 0;
}

LRESULT onForwarded() {
  ShellState& s = shellState();
  std::vector<std::string> lines;
  lines.swap(s.forwardedLines);
  WaitCursor wait;
  for (std::string& line : lines) {
    cancelMoveDrag();
    playEntry(addArgumentString(s.playlist, line.data()));
  }
  return 0;
}

// The drop's own point says where the files went: the list box (insert
// before the row under it, start nothing) or anywhere else (append, start
// the first).
LRESULT onDropFiles(HDROP drop) {
  ShellState& s = shellState();
  WaitCursor wait;
  POINT client{};
  DragQueryPoint(drop, &client);
  const bool onList = ChildWindowFromPointEx(s.mainWindow, client, CWP_SKIPINVISIBLE) == s.playlistBox;
  POINT screen = client;
  ClientToScreen(s.mainWindow, &screen);
  const int32_t row = onList ? playlistRowAt(screen) : -1;
  cancelMoveDrag();
  if (row != -1) s.playlist.insertIndex = row;
  int32_t first = -1;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    // A name too long for an entry is left out: cut, it could name another file.
    if (DragQueryFileA(drop, i, nullptr, 0) >= kMaxPath) continue;
    char path[kMaxPath] = {};
    if (DragQueryFileA(drop, i, path, sizeof path) == 0) continue;
    const int32_t index = addPath(s.playlist, path);
    if (first == -1) first = index;
  }
  DragFinish(drop);
  s.playlist.insertIndex = -1;
  if (!onList) playEntry(first);
  repaintPlaylist();
  return 0;
}

LRESULT onRightButtonUp() {
  popUpMainMenu();
  return 0;
}

LRESULT onMeasureItem(MEASUREITEMSTRUCT* item) {
  item->itemHeight = kPlaylistRowHeight;
  return TRUE;
}

LRESULT onDrawItem(const DRAWITEMSTRUCT* item) {
  if (item->CtlID == IDC_PLAYLIST) {
    drawPlaylistRow(*item);
  } else {
    drawOwnedButton(*item);
  }
  return TRUE;
}

LRESULT onSysColorChange(HWND window) {
  destroyGdiResources();
  createGdiResources();
  InvalidateRect(window, nullptr, TRUE);
  return 0;
}

LRESULT onSizing(WPARAM edge, LPARAM rect) {
  limitMainWindowSizing(edge, reinterpret_cast<RECT*>(rect));
  return TRUE;
}

LRESULT onDoubleClick(LPARAM point) {
  const POINT at = mousePoint(point);
  if (isCompactToggleSpot(at.x, at.y)) {
    toggleCompactMode();
  }
  return 0;
}

LRESULT onLeftButtonDown(LPARAM lParam) {
  beginWindowDrag(mousePoint(lParam));
  return 0;
}

LRESULT onMouseMove(WPARAM keys, LPARAM lParam) {
  dragWindow((keys & MK_LBUTTON) != 0, mousePoint(lParam));
  return 0;
}

LRESULT onClose(HWND window) {
  ShowWindow(shellState().lyricsWindow, SW_HIDE);
  DestroyWindow(window);
  return 0;
}

LRESULT onPaint(HWND window) {
  paintMainWindow(window);
  return 0;
}

LRESULT applied(void (*step)()) {
  step();
  return 0;
}

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return onMainCreate(window);
    case WM_DESTROY: return onMainDestroy(window);
    case WM_CLOSE: return onClose(window);
    case WM_COMMAND: return onCommand(LOWORD(wParam));
    case WM_TIMER: return onTimer(wParam);
    case WM_KEYDOWN: return onKeyDown(wParam);
    case WM_APPCOMMAND: return onAppCommand(window, wParam, lParam);
    case WM_COPYDATA: return onCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_ORVA_FORWARDED: return onForwarded();
    case WM_ORVA_TRAY: onTrayMessage(LOWORD(lParam)); return 0;
    case MM_JOY1BUTTONDOWN:
    case MM_JOY2BUTTONDOWN: onJoystickButtons(wParam); return 0;
    case WM_DROPFILES: return onDropFiles(reinterpret_cast<HDROP>(wParam));
    case WM_RBUTTONUP: return onRightButtonUp();
    case WM_MEASUREITEM: return onMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM: return onDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    case WM_CTLCOLORLISTBOX: return reinterpret_cast<LRESULT>(gdiResources().windowBrush);
    case WM_SYSCOLORCHANGE: return onSysColorChange(window);
    case WM_PAINT: return onPaint(window);
    case WM_MOVE: return applied(placeDockedWindows);
    case WM_SIZE: layoutMainWindow(wParam); return 0;
    case WM_SIZING: return onSizing(wParam, lParam);
    case WM_LBUTTONDOWN: return onLeftButtonDown(lParam);
    case WM_LBUTTONUP: return applied(endWindowDrag);
    case WM_MOUSEMOVE: return onMouseMove(wParam, lParam);
    case WM_LBUTTONDBLCLK: return onDoubleClick(lParam);
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace orva

// The mini window from template MINIDLG, with its own 100 ms timer.
#include "shell/mini_window.h"

#include <windows.h>

#include <commctrl.h>

#include "orva_engine.h"
#include "resources/resource_ids.h"
#include "shell/commands.h"
#include "shell/controls.h"
#include "shell/rules/bar_math.h"
#include "shell/shell_state.h"

namespace orva {

namespace {

constexpr int kPageSize = 10;
constexpr int kVolumeRange = 100;

HWND slider(HWND dialog, int id) { return GetDlgItem(dialog, id); }

void showSeekPosition(HWND dialog) {
  const ShellState& s = shellState();
  SetDlgItemTextA(dialog, IDC_MINI_TITLE, s.titleText);
  const int32_t position = miniSeekPosition(engineGetPositionMs(), s.totalSeconds);
  SendMessageA(slider(dialog, IDC_MINI_SEEK), TBM_SETPOS, TRUE, position);
}

// Its bottom-right corner at the cursor, above every other window.
void placeAtCursor(HWND dialog) {
  POINT cursor;
  GetCursorPos(&cursor);
  RECT r;
  GetWindowRect(dialog, &r);
  SetWindowPos(dialog, HWND_TOPMOST, r.left + cursor.x - r.right, r.top + cursor.y - r.bottom, 0, 0,
               SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(dialog);
}

BOOL onInit(HWND dialog) {
  ShellState& s = shellState();
  readVolumeBack();
  engineSetVolume(s.volumeLeft, s.volumeLeft);
  const HWND seek = slider(dialog, IDC_MINI_SEEK);
  SendMessageA(seek, TBM_SETRANGE, TRUE, MAKELPARAM(0, kMiniSeekRange));
  SendMessageA(seek, TBM_SETPAGESIZE, 0, kPageSize);
  const HWND volume = slider(dialog, IDC_MINI_VOLUME);
  SendMessageA(volume, TBM_SETRANGE, TRUE, MAKELPARAM(0, kVolumeRange));
  SendMessageA(volume, TBM_SETPAGESIZE, 0, kPageSize);
  // The top is loud.
  SendMessageA(volume, TBM_SETPOS, TRUE, kVolumeRange - s.volumeShown);
  showSeekPosition(dialog);
  SetTimer(dialog, IDT_MINI_TICK, MINI_TICK_MS, nullptr);
  placeAtCursor(dialog);
  return TRUE;
}

void onSeekSlider(HWND dialog) {
  const ShellState& s = shellState();
  const HWND seek = slider(dialog, IDC_MINI_SEEK);
  int32_t position = 0;
  if (engineGetState(&position) == ENGINE_STOPPED) {
    SendMessageA(seek, TBM_SETPOS, TRUE, 0);
    return;
  }
  if (s.totalSeconds == 0) return;
  const int32_t at = static_cast<int32_t>(SendMessageA(seek, TBM_GETPOS, 0, 0));
  engineSeekSeconds(miniSeekSeconds(at, s.totalSeconds));
}

void onVolumeSlider(HWND dialog) {
  ShellState& s = shellState();
  const int32_t level =
      kVolumeRange - static_cast<int32_t>(SendMessageA(slider(dialog, IDC_MINI_VOLUME), TBM_GETPOS, 0, 0));
  s.volumeShown = level;
  engineSetVolume(level, level);
  readVolumeBack();
  invalidateVolumeBar();
}

// The mini window lives only while it is the active window.
INT_PTR onActivate(HWND dialog, WORD state) {
  if (state == WA_INACTIVE) DestroyWindow(dialog);
  return TRUE;
}

// Media keys pressed while the mini window has the focus.
INT_PTR passAppCommand(HWND dialog, WPARAM wParam, LPARAM lParam) {
  SetWindowLongPtrA(dialog, DWLP_MSGRESULT, SendMessageA(shellState().mainWindow, WM_APPCOMMAND, wParam, lParam));
  return TRUE;
}

INT_PTR CALLBACK miniProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return onInit(dialog);
    case WM_TIMER: showSeekPosition(dialog); return TRUE;
    case WM_HSCROLL: onSeekSlider(dialog); return TRUE;
    case WM_VSCROLL: onVolumeSlider(dialog); return TRUE;
    case WM_ACTIVATE: return onActivate(dialog, LOWORD(wParam));
    case WM_APPCOMMAND: return passAppCommand(dialog, wParam, lParam);
    case WM_DESTROY: KillTimer(dialog, IDT_MINI_TICK); return TRUE;
  }
  return FALSE;
}

}  // namespace

HWND openMiniWindow(HWND owner) { return CreateDialogParamA(shellState().appInstance, IDD_MINI, owner, miniProc, 0); }

}  // namespace orva

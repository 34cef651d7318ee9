// The tray icon's record lives in the shell state for the whole run.
#include "shell/tray.h"
#include "shell/menus.h"

#include <windows.h>

#include <shellapi.h>

#include <cstring>
#include <string>

#include "resources/resource_ids.h"
#include "shell/commands.h"
#include "shell/mini_window.h"
#include "shell/rules/title_text.h"
#include "shell/shell_state.h"

namespace orva {

void addTrayIcon() {
  ShellState& s = shellState();
  NOTIFYICONDATAA& icon = s.trayIcon;
  icon = NOTIFYICONDATAA{};
  icon.cbSize = sizeof icon;
  icon.hWnd = s.mainWindow;
  icon.uID = TRAY_ICON_UID;
  icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  icon.uCallbackMessage = WM_ORVA_TRAY;
  icon.hIcon = LoadIconA(s.appInstance, MAKEINTRESOURCEA(IDI_ORVA));
  // A start-up command line may already have started a track.
  const std::string tip = trayTip(s.continueFlag ? s.current.displayText : kIdleTrayTip);
  std::memcpy(icon.szTip, tip.c_str(), tip.size() + 1);
  Shell_NotifyIconA(NIM_ADD, &icon);
}

void setTrayTip(const char* text) {
  ShellState& s = shellState();
  const std::string tip = trayTip(text);
  std::memcpy(s.trayIcon.szTip, tip.c_str(), tip.size() + 1);
  Shell_NotifyIconA(NIM_MODIFY, &s.trayIcon);
}

void removeTrayIcon() { Shell_NotifyIconA(NIM_DELETE, &shellState().trayIcon); }

namespace {

void hideOrShowPlayer() {
  const ShellState& s = shellState();
  if (IsWindowVisible(s.mainWindow)) {
    ShowWindow(s.mainWindow, SW_HIDE);
    ShowWindow(s.equalizerWindow, SW_HIDE);
    ShowWindow(s.lyricsWindow, SW_HIDE);
    return;
  }
  ShowWindow(s.mainWindow, SW_SHOW);
  if (s.equalizerVisible) ShowWindow(s.equalizerWindow, SW_SHOW);
  if (s.lyricsVisible) {
    ShowWindow(s.lyricsWindow, SW_SHOW);
    SetForegroundWindow(s.lyricsWindow);
  }
  SetForegroundWindow(s.mainWindow);
}

void popUpTrayMenu() {
  const HWND main = shellState().mainWindow;
  // The menu must close when the user clicks elsewhere.
  SetForegroundWindow(main);
  popUpMenuAtCursor(POPUP_MAIN, main, TPM_LEFTBUTTON);
}

}  // namespace

void onTrayMessage(UINT mouseMessage) {
  switch (mouseMessage) {
    case WM_LBUTTONUP: return hideOrShowPlayer();
    case WM_RBUTTONUP: return popUpTrayMenu();
    case WM_MBUTTONUP: openMiniWindow(shellState().mainWindow); return;
  }
}

}  // namespace orva

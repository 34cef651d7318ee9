// The main window's creation and destruction: children, font, timers, menu,
// glyph sheet, settings and the start-up list; then the shutdown order,
// which saves the list and the settings before the engine stops.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>

#include "orva_engine.h"
#include "playlist/add_files.h"
#include "playlist/playlist_file.h"
#include "resources/resource_ids.h"
#include "shell/commands.h"
#include "shell/controls.h"
#include "shell/gdi_resources.h"
#include "shell/joystick.h"
#include "shell/main_window.h"
#include "shell/playlist_view.h"
#include "shell/shell_settings.h"
#include "shell/shell_state.h"
#include "shell/tray.h"
#include "shell/window_layout.h"

namespace orva {

namespace {

constexpr char kDefaultPlaylist[] = "orva.m3u";
constexpr int kInitialSeekWidth = 82;

struct ButtonPlace {
  ButtonSlot slot;
  int id;
  const char* text;
  int x;
  int y;
  int w;
  int h;
};

// Where the buttons start; the layout moves them at once.
constexpr ButtonPlace kButtonPlaces[kButtonCount] = {
    {kButtonPrevious, IDC_PREVIOUS, "|<", 4, 280, 25, 25},
    {kButtonPlay, IDC_PLAY, ">", 32, 280, 25, 25},
    {kButtonPause, IDC_PAUSE, "||", 60, 280, 25, 25},
    {kButtonStop, IDC_STOP, "□", 88, 280, 25, 25},
    {kButtonNext, IDC_NEXT, ">|", 116, 280, 25, 25},
    {kButtonListToggle, IDC_LIST_TOGGLE, "", 144, 280, 25, 12},
    {kButtonEqualizerToggle, IDC_EQUALIZER_TOGGLE, "", 144, 293, 25, 12},
    {kButtonLyricsToggle, IDC_LYRICS_TOGGLE, "", 172, 293, 25, 12},
    {kButtonMode, IDC_MODE, "", 172, 280, 25, 12},
};

HWND createChild(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int w, int h,
                 int id) {
  return CreateWindowExA(WS_EX_LEFT, className, text, WS_CHILD | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), shellState().appInstance, nullptr);
}

void createChildren(HWND window) {
  ShellState& s = shellState();
  s.playlistBox = createChild(
      window, "LISTBOX", "",
      WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL | LBS_DISABLENOSCROLL, 4, 4,
      229, 272, IDC_PLAYLIST);
  for (const ButtonPlace& b : kButtonPlaces) {
    s.buttons[b.slot] = createChild(window, "BUTTON", b.text, WS_VISIBLE | BS_OWNERDRAW, b.x, b.y, b.w, b.h, b.id);
  }
  s.closeButton = createChild(window, "BUTTON", "", BS_OWNERDRAW, 1, 1, 9, 9, IDC_CLOSE);
  s.seekWidth = kInitialSeekWidth;
  s.titleDisplay = createChild(window, "STATIC", "", WS_VISIBLE | SS_NOTIFY, 172, 280, s.seekWidth, 16, 0);
  s.seekBar = createChild(window, "STATIC", "", WS_VISIBLE | SS_NOTIFY, 172, 296, s.seekWidth, 9, 0);
  s.volumeBar = createChild(window, "STATIC", "", WS_VISIBLE | SS_NOTIFY, 172 + s.seekWidth, 280, 7, 25, 0);
}

void giveUiFont() {
  ShellState& s = shellState();
  const WPARAM font = reinterpret_cast<WPARAM>(uiFont());
  for (int slot = kButtonPrevious; slot <= kButtonNext; ++slot) SendMessageA(s.buttons[slot], WM_SETFONT, font, TRUE);
  SendMessageA(s.playlistBox, WM_SETFONT, font, TRUE);
  SendMessageA(s.titleDisplay, WM_SETFONT, font, TRUE);
}

void loadStartupList() {
  ShellState& s = shellState();
  if (s.commandLinePresent && s.commandLine[0] != '\0') {
    addArgumentString(s.playlist, s.commandLine);
    playEntry(0);
  } else if (s.saveSettingsEnabled) {
    loadPlaylist(s.playlist, kDefaultPlaylist);
    if (s.playlist.entry(s.playlist.currentIndex) != nullptr) selectOnly(s.playlist.currentIndex);
    repaintPlaylist();
  }
}

void saveDefaultList() {
  ShellState& s = shellState();
  char path[kMaxPath];
  std::snprintf(path, sizeof path, "%s\\%s", s.programDirectory, kDefaultPlaylist);
  savePlaylist(s.playlist, path, true);
}

}  // namespace

LRESULT onMainCreate(HWND window) {
  ShellState& s = shellState();
  s.mainWindow = window;
  createChildren(window);
  attachPlaylistBox(s.playlistBox);
  installControlProcedures();
  createUiFont();
  giveUiFont();
  initJoystick(window);
  DragAcceptFiles(window, TRUE);
  SetTimer(window, IDT_MAIN_TICK, MAIN_TICK_MS, nullptr);
  SetTimer(window, IDT_FAST_TICK, FAST_TICK_MS, nullptr);
  s.menu = LoadMenuA(s.appInstance, IDR_MYPOPUP);
  loadGlyphSheet(s.appInstance, window);
  loadShellSettings();
  if (s.compactMode) showFullControls(false);
  engineSetSettings(&s.decoderSettings);
  engineSetGapless(s.settings.gapless);
  loadStartupList();
  return 0;
}

LRESULT onMainDestroy(HWND window) {
  ShellState& s = shellState();
  ShowWindow(s.lyricsWindow, SW_HIDE);
  if (s.saveSettingsEnabled) saveDefaultList();
  saveShellSettings();
  KillTimer(window, IDT_MAIN_TICK);
  KillTimer(window, IDT_FAST_TICK);
  releaseJoystick();
  engineStop();
  engineShutdown();
  cancelMoveDrag();
  detachPlaylistBox();
  s.playlist.deleteAll();
  removeControlProcedures();
  deleteUiFont();
  destroyGdiResources();
  DestroyMenu(s.menu);
  s.menu = nullptr;
  freeGlyphSheet();
  removeTrayIcon();
  PostQuitMessage(0);
  return 0;
}

}  // namespace orva

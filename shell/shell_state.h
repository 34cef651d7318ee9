// The shell's process-wide values: the windows of the one main window, the
// play list it shows, what is playing and how, the options and the geometry
// the layout keeps. One record, owned here, used on the window thread only.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "playlist/ordering.h"
#include "playlist/path_parts.h"
#include "playlist/play_mode.h"
#include "playlist/playlist.h"
#include "shell/rules/forwarding.h"
#include "shell/rules/list_drag.h"
#include "shell/rules/play_rules.h"
#include "shell/rules/settings.h"
#include "shell/rules/snapping.h"
#include "shell/rules/title_text.h"

namespace orva {

// The nine owner-drawn buttons, in the order of their places on the row.
enum ButtonSlot : int32_t {
  kButtonPrevious,
  kButtonPlay,
  kButtonPause,
  kButtonStop,
  kButtonNext,
  kButtonListToggle,
  kButtonEqualizerToggle,
  kButtonLyricsToggle,
  kButtonMode,
  kButtonCount
};

struct ShellState {
  // Start-up.
  HINSTANCE appInstance = nullptr;
  char programDirectory[kMaxPath] = {};
  char settingsPath[kMaxPath] = {};
  char commandLine[kForwardedTextCapacity] = {};
  int32_t commandLinePresent = 0;
  // Command lines of later starts, taken in from WM_COPYDATA and acted on
  // from the message loop.
  std::vector<std::string> forwardedLines;

  // Windows and the menu, kept for the whole run.
  HWND mainWindow = nullptr;
  HWND playlistBox = nullptr;
  HWND buttons[kButtonCount] = {};
  HWND closeButton = nullptr;
  HWND titleDisplay = nullptr;
  HWND seekBar = nullptr;
  HWND volumeBar = nullptr;
  HWND equalizerWindow = nullptr;
  HWND lyricsWindow = nullptr;
  HWND taskbarWindow = nullptr;
  HWND aboutBox = nullptr;  // while the about box is open
  HMENU menu = nullptr;

  // The play list and the orders over it.
  Playlist playlist;
  SortState sort;
  ShuffleState shuffle;
  ListDrag listDrag;

  // Playback as the shell sees it.
  PlaylistEntry current{};  // copy of the entry being played
  int32_t continueFlag = 0;
  int32_t playMode = LoopList;
  int32_t totalSeconds = 0;
  FailedWalk walk;
  char titleText[kTitleTextMaxBytes + 1] = {};
  int32_t seekDragX = -1;
  int32_t seekWidth = 82;
  int32_t volumeLeft = 0;
  int32_t volumeRight = 0;
  int32_t volumeShown = 0;
  int32_t lyricsLoaded = 0;
  int32_t closeButtonShown = 0;
  int32_t joystickLastX = 0;  // the stick's directions at the last poll
  int32_t joystickLastY = 0;

  // Options (the settings file keeps them between runs).
  Settings settings{};  // as loaded; the values below are the live ones
  DecoderSettings decoderSettings{6, 4, 1, 0};
  int32_t saveSettingsEnabled = 0;
  int32_t stickyMode = 0;
  int32_t alwaysOnTop = 0;
  int32_t compactMode = 0;
  int32_t equalizerVisible = 0;
  int32_t lyricsVisible = 0;
  int32_t lastHeight = 100;

  // Geometry: the client size stored after every layout, and the window drag.
  int32_t clientWidth = 0;
  int32_t clientHeight = 0;
  bool dragging = false;
  Point grab{0, 0};

  NOTIFYICONDATAA trayIcon{};
};

// The one record. Tests start the player several times in one process and
// begin each run with a fresh record.
ShellState& shellState();
void resetShellState();

}  // namespace orva

// Settings between the file and the live shell values.
#include "shell/shell_settings.h"

#include <windows.h>

#include "orva_engine.h"
#include "resources/resource_ids.h"
#include "shell/shell_state.h"

namespace orva {

namespace {

void checkMenuItem(UINT id, int32_t on) {
  CheckMenuItem(shellState().menu, id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

int32_t menuItemChecked(UINT id) {
  return (GetMenuState(shellState().menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0 ? 1 : 0;
}

}  // namespace

void loadShellSettings() {
  ShellState& s = shellState();
  const Settings loaded = loadSettings(s.settingsPath, s.commandLinePresent != 0);
  s.settings = loaded;
  s.saveSettingsEnabled = loaded.saveSettingsEnabled;
  s.stickyMode = loaded.stickyMode;
  s.alwaysOnTop = loaded.alwaysOnTop;
  s.compactMode = loaded.compactMode;
  s.equalizerVisible = loaded.equalizerVisible;
  s.lyricsVisible = loaded.lyricsVisible;
  s.playMode = loaded.playMode;
  s.lastHeight = loaded.lastHeight;
  s.playlist.currentIndex = loaded.currentIndex;
  if (loaded.saveSettingsEnabled) s.decoderSettings = loaded.decoder;
  checkMenuItem(IDM_SAVE_SETTINGS, s.saveSettingsEnabled);
  checkMenuItem(IDM_STICKY_MODE, s.stickyMode);
  checkMenuItem(IDM_ALWAYS_ON_TOP, s.alwaysOnTop);
}

bool saveShellSettings() {
  ShellState& s = shellState();
  Settings out = s.settings;
  out.saveSettingsEnabled = s.saveSettingsEnabled;
  RECT window{};
  GetWindowRect(s.mainWindow, &window);
  out.windowTop = window.top;
  out.windowLeft = window.left;
  out.windowWidth = window.right - window.left;
  out.windowHeight = window.bottom - window.top;
  out.lastHeight = s.lastHeight;
  out.playMode = s.playMode;
  out.stickyMode = menuItemChecked(IDM_STICKY_MODE);
  out.alwaysOnTop = menuItemChecked(IDM_ALWAYS_ON_TOP);
  out.lyricsVisible = s.lyricsVisible;
  out.equalizerVisible = s.equalizerVisible;
  out.compactMode = s.compactMode;
  out.decoder = s.decoderSettings;
  out.engineVersion = engineGetVersion();
  out.currentIndex = s.playlist.currentIndex;
  return saveSettings(s.settingsPath, out);
}

}  // namespace orva

// Starting entries, the transport actions and the two timers. The choices
// (which entry next, what the title line says, how far a key moves the
// volume) are the portable rules'; this file applies them to the engine and
// the windows.
#include "shell/commands.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "orva_engine.h"
#include "playlist/play_mode.h"
#include "shell/controls.h"
#include "shell/joystick.h"
#include "shell/lyrics_window.h"
#include "shell/playlist_view.h"
#include "shell/rules/bar_math.h"
#include "shell/rules/play_rules.h"
#include "shell/rules/title_text.h"
#include "shell/shell_state.h"
#include "shell/tray.h"
#include "shell/window_layout.h"

namespace orva {

namespace {

int32_t engineStateNow(int32_t& positionSeconds) {
  positionSeconds = 0;
  return engineGetState(&positionSeconds);
}

// Refreshes an entry's tag, MPEG summary, INFO text and ID3v2 names from
// its file.
void refreshFileInfo(PlaylistEntry& entry, const char* path) {
  readEntryFrom(shellState().playlist.readFileInfo, path, entry);
}

int32_t openEntry(int32_t index) {
  ShellState& s = shellState();
  PlaylistEntry* entry = s.playlist.entry(index);
  if (entry == nullptr) return 0;
  char path[kMaxPath];
  if (!resolveEntryPath(*entry, path, sizeof path)) return 0;
  refreshFileInfo(*entry, path);
  s.current = *entry;
  engineStop();
  engineClose();
  s.continueFlag = 0;
  clearLyrics();
  clearLyricLines();
  s.lyricsLoaded = 0;
  if (engineOpen(path, &s.current.streamInfo) != 1) return 0;
  s.lyricsLoaded = loadLyricsBeside(path) == 1 ? 1 : 0;
  *entry = s.current;
  return 1;
}

void startOpenedEntry(int32_t index) {
  ShellState& s = shellState();
  s.playlist.currentIndex = index;
  s.totalSeconds = s.current.streamInfo.durationSeconds;
  setTrayTip(s.current.displayText);
  int32_t position = 0;
  if (engineStateNow(position) == ENGINE_PAUSED) {
    engineResume();
  } else {
    setTitleText(titleLine(0, s.current.displayText, s.totalSeconds).c_str());
    enginePlay();
  }
  s.continueFlag = 1;
}

void showPosition(int32_t positionSeconds) {
  ShellState& s = shellState();
  const int32_t shown = shownPositionSeconds(positionSeconds, s.seekDragX, s.seekWidth, s.totalSeconds);
  setTitleText(titleLine(shown, s.current.displayText, s.totalSeconds).c_str());
}

int32_t startEntry(int32_t index) {
  if (index < 0) return 0;
  if (selectedCount() <= 1) selectOnly(index);
  if (openEntry(index) == 0) return 0;
  startOpenedEntry(index);
  return 1;
}

void stopPlaying() {
  ShellState& s = shellState();
  engineStop();
  engineClose();
  s.continueFlag = 0;
  setTrayTip(kIdleTrayTip);
}

void cyclePlayMode() {
  ShellState& s = shellState();
  s.playMode = nextPlayMode(s.playMode);
  InvalidateRect(s.buttons[kButtonMode], nullptr, FALSE);
}

void hoverCloseButton() {
  ShellState& s = shellState();
  POINT cursor;
  GetCursorPos(&cursor);
  ScreenToClient(s.mainWindow, &cursor);
  const int32_t over = cursor.x > 0 && cursor.x < 10 && cursor.y > 0 && cursor.y < 10 ? 1 : 0;
  if (over == s.closeButtonShown) return;
  s.closeButtonShown = over;
  ShowWindow(s.closeButton, over ? SW_SHOW : SW_HIDE);
  InvalidateRect(s.closeButton, nullptr, FALSE);
}

}  // namespace

// A start the user asked for: a walk over failed entries begins again here.
int32_t playEntry(int32_t index) {
  if (index < 0) return 0;
  const int32_t started = startEntry(index);
  noteStart(shellState().walk, index, started == 1);
  return started;
}

void doAction(int32_t action) {
  ShellState& s = shellState();
  int32_t position = 0;
  const int32_t state = engineStateNow(position);
  const int32_t count = s.playlist.count();
  switch (action) {
    case kActionPrevious:
      if (count > 0) playEntry(previousEntryIndex(s.playlist.currentIndex, count));
      break;
    case kActionPlay:
      if (state == ENGINE_PAUSED) {
        engineResume();
      } else {
        playEntry(s.playlist.currentIndex);
      }
      s.continueFlag = 1;
      break;
    case kActionPause:
      if (state == ENGINE_PAUSED) {
        engineResume();
      } else {
        enginePause();
      }
      break;
    case kActionStop: stopPlaying(); break;
    case kActionNext:
      if (count > 0) {
        playEntry(nextEntryIndex(s.playMode, s.playlist.currentIndex, count, s.continueFlag, s.shuffle, std::rand));
      }
      break;
    case kActionToggleList: toggleListWindow(); break;
    case kActionToggleEqualizer: toggleEqualizerWindow(); break;
    case kActionToggleLyrics: toggleLyricsWindow(); break;
    case kActionCycleMode: cyclePlayMode(); break;
    default: break;
  }
}

void stepVolume(bool up) {
  ShellState& s = shellState();
  int32_t left = 0;
  int32_t right = 0;
  engineGetVolume(&left, &right);
  s.volumeLeft = up ? volumeStepUp(left) : volumeStepDown(left);
  s.volumeRight = up ? volumeStepUp(right) : volumeStepDown(right);
  engineSetVolume(s.volumeLeft, s.volumeRight);
  invalidateVolumeBar();
}

void readVolumeBack() {
  ShellState& s = shellState();
  int32_t left = 0;
  int32_t right = 0;
  engineGetVolume(&left, &right);
  s.volumeLeft = left;
  s.volumeRight = right;
  s.volumeShown = left > right ? left : right;
}

void stepSeek(int32_t seconds) {
  int32_t position = 0;
  engineStateNow(position);
  engineSeekSeconds(position + seconds);
  invalidateSeekBar();
  UpdateWindow(shellState().seekBar);
}

void applyKeyCommand(const KeyCommand& command) {
  switch (command.action) {
    case KeyAction::SeekBack: return stepSeek(-kKeySeekSeconds);
    case KeyAction::SeekForward: return stepSeek(kKeySeekSeconds);
    case KeyAction::VolumeUp: return stepVolume(true);
    case KeyAction::VolumeDown: return stepVolume(false);
    case KeyAction::DoAction: return doAction(command.doAction);
    case KeyAction::None: return;
  }
}

bool applyAppCommand(uint32_t appCommand) {
  const KeyCommand command = appCommandOf(appCommand, engineGetState(nullptr));
  applyKeyCommand(command);
  // A play or pause key with nothing to do is still the player's own.
  return command.action != KeyAction::None || appCommand == kAppCommandPlay || appCommand == kAppCommandPause;
}

void mainTick() {
  ShellState& s = shellState();
  invalidateVolumeBar();
  stickyModeStep(true);
  int32_t position = 0;
  const int32_t state = engineStateNow(position);
  invalidateSeekBar();
  const TickInput input{state, s.continueFlag, s.playMode, s.playlist.currentIndex, s.playlist.count()};
  const TickDecision decision = endOfTrackTick(input, s.walk, s.shuffle, std::rand);
  switch (decision.step) {
    case TickStep::ShowPosition: return showPosition(position);
    case TickStep::ClearTitle: return setTitleText("");
    case TickStep::KeepTitle: return;
    case TickStep::StopPlaying: s.continueFlag = 0; return;
    case TickStep::StartEntry: {
      const int32_t started = startEntry(decision.entryIndex);
      noteStepStart(s.walk, decision.entryIndex, started == 1);
      // A failed start keeps the walk going on the next tick.
      s.continueFlag = 1;
      return;
    }
    case TickStep::GiveUp:
      s.continueFlag = 0;
      setTitleText(kNothingPlayableTitle);
      return;
  }
}

void fastTick() {
  if (shellState().lyricsLoaded) updateLyricLines();
  hoverCloseButton();
  joystickTick();
}

}  // namespace orva

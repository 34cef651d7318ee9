// What the player does: starting an entry, the transport actions, the keys,
// and the two timers that follow playback and the pointer. Window thread.
#pragma once

#include <cstdint>

#include "shell/rules/key_commands.h"

namespace orva {

enum Action : int32_t {
  kActionPrevious = 1,
  kActionPlay = 2,
  kActionPause = 3,
  kActionStop = 4,
  kActionNext = 5,
  kActionToggleList = 6,
  kActionToggleEqualizer = 7,
  kActionToggleLyrics = 8,
  kActionCycleMode = 9,
};

// Opens and starts the entry at `index`: 1 when it plays (or resumed), 0
// when it could not be opened (currentIndex then stays).
int32_t playEntry(int32_t index);
void doAction(int32_t action);
// A key's command (seek, volume, transport).
void applyKeyCommand(const KeyCommand& command);
void stepVolume(bool up);
// WM_APPCOMMAND (media keys, remote controls) from any of the player's
// windows: true when the player took the command.
bool applyAppCommand(uint32_t appCommand);
// The shell's copies of the device volume, read back from the device
// (which may keep other steps than it was given).
void readVolumeBack();
void stepSeek(int32_t seconds);

// Timer 0x7FFF: volume bar, sticky mode, end of track, title line.
void mainTick();
// Timer 0x8000: lyric lines and the close button's hover.
void fastTick();

// The tray tip: the display text being played, or the product name.
void setTrayTip(const char* text);

}  // namespace orva

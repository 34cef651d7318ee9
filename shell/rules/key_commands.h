// What a key does in the main window, the play list box and the nine
// buttons. The window procedures pass the virtual-key code of WM_KEYDOWN
// (and of WM_KEYUP in the list box) and apply the command they get back;
// the list box still hands every key on to its own procedure, so the arrow
// keys both act and move the caret.
#pragma once

#include <cstdint>

namespace orva {

// Virtual-key codes, with their Win32 values. Letter keys arrive as the
// upper-case ASCII code whether or not Shift is down.
inline constexpr uint32_t kVkReturn = 0x0D;
inline constexpr uint32_t kVkLeft = 0x25;
inline constexpr uint32_t kVkUp = 0x26;
inline constexpr uint32_t kVkRight = 0x27;
inline constexpr uint32_t kVkDown = 0x28;
inline constexpr uint32_t kVkDelete = 0x2E;
inline constexpr uint32_t kVkNumpad2 = 0x62;
inline constexpr uint32_t kVkNumpad4 = 0x64;
inline constexpr uint32_t kVkNumpad5 = 0x65;
inline constexpr uint32_t kVkNumpad6 = 0x66;
inline constexpr uint32_t kVkNumpad7 = 0x67;
inline constexpr uint32_t kVkNumpad8 = 0x68;
inline constexpr uint32_t kVkNumpad9 = 0x69;

enum class KeyReceiver {
  MainWindow,
  PlaylistBox,
  Button,  // any of the five transport and four small buttons
};

enum class KeyAction {
  None,
  SeekBack,     // position - 5 s
  SeekForward,  // position + 5 s
  VolumeUp,     // one volume step on both channels
  VolumeDown,
  DoAction,  // doAction with KeyCommand::doAction
};

struct KeyCommand {
  KeyAction action;
  int32_t doAction;  // 1 previous .. 5 next for KeyAction::DoAction; 0 otherwise
};

inline constexpr int32_t kKeySeekSeconds = 5;

// WM_KEYDOWN: the command for `virtualKey` on `receiver`. The buttons leave
// the seek keys alone.
KeyCommand keyDownCommand(uint32_t virtualKey, KeyReceiver receiver);

// The media keys and remote controls, as WM_APPCOMMAND's command numbers.
inline constexpr uint32_t kAppCommandVolumeDown = 9;
inline constexpr uint32_t kAppCommandVolumeUp = 10;
inline constexpr uint32_t kAppCommandNextTrack = 11;
inline constexpr uint32_t kAppCommandPreviousTrack = 12;
inline constexpr uint32_t kAppCommandStop = 13;
inline constexpr uint32_t kAppCommandPlayPause = 14;
inline constexpr uint32_t kAppCommandPlay = 46;
inline constexpr uint32_t kAppCommandPause = 47;

// WM_APPCOMMAND: the command for `appCommand` while the engine is in
// `engineState` (ENGINE_STOPPED, ENGINE_PLAYING or ENGINE_PAUSED). Play/
// pause starts a stopped player and otherwise pauses or resumes; the
// separate play and pause keys never restart or resume what they should
// leave alone. KeyAction::None for commands the player does not take, which
// go on to the system.
KeyCommand appCommandOf(uint32_t appCommand, int32_t engineState);

enum class ListKeyUp {
  None,
  PlayCaretItem,    // playEntry of the caret item
  RemoveSelection,  // remove the selected entries
};

// WM_KEYUP in the play list box.
ListKeyUp playlistKeyUpCommand(uint32_t virtualKey);

}  // namespace orva

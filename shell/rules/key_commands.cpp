// The keyboard tables; see key_commands.h.
#include "shell/rules/key_commands.h"

#include "orva_engine.h"

namespace orva {

namespace {

struct KeyRow {
  uint32_t virtualKey;
  KeyCommand command;
};

// The transport keys: the left hand on Z X C V B, or the number pad with
// NumLock on; the arrows seek and change the volume.
constexpr KeyRow kKeyDownRows[] = {
    {kVkLeft, {KeyAction::SeekBack, 0}},     {kVkNumpad7, {KeyAction::SeekBack, 0}},
    {kVkRight, {KeyAction::SeekForward, 0}}, {kVkNumpad9, {KeyAction::SeekForward, 0}},
    {kVkUp, {KeyAction::VolumeUp, 0}},       {kVkNumpad8, {KeyAction::VolumeUp, 0}},
    {kVkDown, {KeyAction::VolumeDown, 0}},   {kVkNumpad2, {KeyAction::VolumeDown, 0}},
    {'Z', {KeyAction::DoAction, 1}},         {kVkNumpad4, {KeyAction::DoAction, 1}},
    {'X', {KeyAction::DoAction, 2}},         {kVkNumpad5, {KeyAction::DoAction, 2}},
    {'C', {KeyAction::DoAction, 3}},         {'V', {KeyAction::DoAction, 4}},
    {'B', {KeyAction::DoAction, 5}},         {kVkNumpad6, {KeyAction::DoAction, 5}},
};

constexpr KeyCommand kNoCommand{KeyAction::None, 0};

bool isSeek(KeyAction action) { return action == KeyAction::SeekBack || action == KeyAction::SeekForward; }

}  // namespace

KeyCommand keyDownCommand(uint32_t virtualKey, KeyReceiver receiver) {
  for (const KeyRow& row : kKeyDownRows) {
    if (row.virtualKey != virtualKey) continue;
    // On a focused button the left and right keys do nothing.
    if (receiver == KeyReceiver::Button && isSeek(row.command.action)) return kNoCommand;
    return row.command;
  }
  return kNoCommand;
}

KeyCommand appCommandOf(uint32_t appCommand, int32_t engineState) {
  constexpr int32_t kPrevious = 1, kPlay = 2, kPause = 3, kStop = 4, kNext = 5;
  const auto act = [](int32_t action) { return KeyCommand{KeyAction::DoAction, action}; };
  switch (appCommand) {
    case kAppCommandVolumeDown: return {KeyAction::VolumeDown, 0};
    case kAppCommandVolumeUp: return {KeyAction::VolumeUp, 0};
    case kAppCommandNextTrack: return act(kNext);
    case kAppCommandPreviousTrack: return act(kPrevious);
    case kAppCommandStop: return act(kStop);
    case kAppCommandPlayPause: return act(engineState == ENGINE_STOPPED ? kPlay : kPause);
    case kAppCommandPlay: return engineState == ENGINE_PLAYING ? kNoCommand : act(kPlay);
    case kAppCommandPause: return engineState == ENGINE_PLAYING ? act(kPause) : kNoCommand;
    default: return kNoCommand;
  }
}

ListKeyUp playlistKeyUpCommand(uint32_t virtualKey) {
  if (virtualKey == kVkReturn) return ListKeyUp::PlayCaretItem;
  if (virtualKey == kVkDelete) return ListKeyUp::RemoveSelection;
  return ListKeyUp::None;
}

}  // namespace orva

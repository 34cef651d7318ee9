#include <gtest/gtest.h>

#include <utility>

#include "orva_engine.h"
#include "shell/rules/key_commands.h"

namespace orva {
namespace {

struct Row {
  uint32_t key;
  KeyAction action;
  int32_t doAction;
};

constexpr Row kSeekRows[] = {
    {kVkLeft, KeyAction::SeekBack, 0},
    {kVkNumpad7, KeyAction::SeekBack, 0},
    {kVkRight, KeyAction::SeekForward, 0},
    {kVkNumpad9, KeyAction::SeekForward, 0},
};

constexpr Row kOtherRows[] = {
    {kVkUp, KeyAction::VolumeUp, 0},        {kVkNumpad8, KeyAction::VolumeUp, 0}, {kVkDown, KeyAction::VolumeDown, 0},
    {kVkNumpad2, KeyAction::VolumeDown, 0}, {'Z', KeyAction::DoAction, 1},        {kVkNumpad4, KeyAction::DoAction, 1},
    {'X', KeyAction::DoAction, 2},          {kVkNumpad5, KeyAction::DoAction, 2}, {'C', KeyAction::DoAction, 3},
    {'V', KeyAction::DoAction, 4},          {'B', KeyAction::DoAction, 5},        {kVkNumpad6, KeyAction::DoAction, 5},
};

void expectCommand(const Row& row, KeyReceiver receiver, KeyAction action, int32_t doAction) {
  KeyCommand c = keyDownCommand(row.key, receiver);
  EXPECT_EQ(c.action, action) << "key " << row.key << " receiver " << static_cast<int>(receiver);
  EXPECT_EQ(c.doAction, doAction) << "key " << row.key << " receiver " << static_cast<int>(receiver);
}

TEST(KeyDown, WindowAndListActOnEveryRow) {
  for (KeyReceiver receiver : {KeyReceiver::MainWindow, KeyReceiver::PlaylistBox}) {
    for (const Row& row : kSeekRows) expectCommand(row, receiver, row.action, row.doAction);
    for (const Row& row : kOtherRows) expectCommand(row, receiver, row.action, row.doAction);
  }
}

TEST(KeyDown, ButtonsIgnoreOnlyTheSeekRows) {
  for (const Row& row : kSeekRows) expectCommand(row, KeyReceiver::Button, KeyAction::None, 0);
  for (const Row& row : kOtherRows) expectCommand(row, KeyReceiver::Button, row.action, row.doAction);
}

TEST(KeyDown, OtherKeysDoNothing) {
  // Lower-case codes are other keys (0x7A is F11, 0x78 F9); the pad's
  // 0, 1, 3 and *, the space bar, Return and Delete are not in the table.
  const uint32_t keys[] = {'A', 'N', 0x7A, 0x78, 0x63, 0x61, 0x60, 0x69 + 1, 0x20, kVkReturn, kVkDelete, 0, 0x10025};
  for (uint32_t key : keys) {
    for (KeyReceiver receiver : {KeyReceiver::MainWindow, KeyReceiver::PlaylistBox, KeyReceiver::Button}) {
      KeyCommand c = keyDownCommand(key, receiver);
      EXPECT_EQ(c.action, KeyAction::None) << key;
      EXPECT_EQ(c.doAction, 0) << key;
    }
  }
}

// The transport keys follow the engine's state; the volume keys and the
// keys the player does not take do not.
TEST(AppCommand, MediaKeysMapOntoTheTransportAndVolume) {
  struct Case {
    uint32_t command;
    KeyCommand stopped, playing, paused;
  };
  constexpr KeyCommand none{KeyAction::None, 0};
  constexpr auto act = [](int32_t a) { return KeyCommand{KeyAction::DoAction, a}; };
  const Case cases[] = {
      {kAppCommandPlayPause, act(2), act(3), act(3)},
      {kAppCommandPlay, act(2), none, act(2)},
      {kAppCommandPause, none, act(3), none},
      {kAppCommandStop, act(4), act(4), act(4)},
      {kAppCommandNextTrack, act(5), act(5), act(5)},
      {kAppCommandPreviousTrack, act(1), act(1), act(1)},
      {kAppCommandVolumeUp, {KeyAction::VolumeUp, 0}, {KeyAction::VolumeUp, 0}, {KeyAction::VolumeUp, 0}},
      {kAppCommandVolumeDown, {KeyAction::VolumeDown, 0}, {KeyAction::VolumeDown, 0}, {KeyAction::VolumeDown, 0}},
      {8 /* volume mute */, none, none, none},
      {1 /* browser back */, none, none, none},
  };
  for (const Case& c : cases) {
    const std::pair<int32_t, KeyCommand> byState[] = {
        {ENGINE_STOPPED, c.stopped}, {ENGINE_PLAYING, c.playing}, {ENGINE_PAUSED, c.paused}};
    for (const auto& [state, expected] : byState) {
      const KeyCommand got = appCommandOf(c.command, state);
      EXPECT_EQ(got.action, expected.action) << "command " << c.command << " state " << state;
      EXPECT_EQ(got.doAction, expected.doAction) << "command " << c.command << " state " << state;
    }
  }
}

TEST(PlaylistKeyUp, ReturnPlaysAndDeleteRemoves) {
  EXPECT_EQ(playlistKeyUpCommand(kVkReturn), ListKeyUp::PlayCaretItem);
  EXPECT_EQ(playlistKeyUpCommand(kVkDelete), ListKeyUp::RemoveSelection);
  for (uint32_t key : {kVkLeft, kVkNumpad5, uint32_t{'X'}, uint32_t{0x08}, uint32_t{0x2D}})
    EXPECT_EQ(playlistKeyUpCommand(key), ListKeyUp::None) << key;
}

}  // namespace
}  // namespace orva

// The transport as the user drives it: buttons and menu commands, keys, the
// play modes at the end of a track, the walk over files that cannot play,
// and command lines forwarded by a second start.
#include <gtest/gtest.h>

#include <cstring>

#include "orva_engine.h"
#include "resources/resource_ids.h"
#include "shell/rules/title_text.h"
#include "tests/shell_windows/player_fixture.h"

namespace orva::test {
namespace {

class CommandsTest : public PlayerTest {
 protected:
  // Three short tracks a.wav, b.wav, c.wav from the command line; the
  // first started and stopped again.
  void startWithThreeTracks(int seconds = 3) {
    for (const char* name : {"a.wav", "b.wav", "c.wav"}) writeWave(name, seconds);
    startPlayer(file("a.wav") + " " + file("b.wav") + " " + file("c.wav"));
    command(IDM_STOP);
    ASSERT_EQ(shell().playlist.count(), 3);
    ASSERT_EQ(current(), 0);
  }

  void sendCommandLine(const std::string& text, ULONG_PTR tag = 0, DWORD size = 0) {
    COPYDATASTRUCT data{};
    data.dwData = tag;
    data.cbData = size != 0 ? size : static_cast<DWORD>(text.size() + 1);
    data.lpData = const_cast<char*>(text.c_str());
    SendMessageA(mainWindow(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    pumpFor(0);  // the player acts on it from its message loop
  }

  int32_t current() { return shell().playlist.currentIndex; }

  // Lets the playing track run out.
  void waitForTheEnd() {
    ASSERT_TRUE(pumpUntil([this] { return engineStateNow() == ENGINE_STOPPED; }, 10000));
  }
};

TEST_F(CommandsTest, NextAndPreviousWrapAroundTheListInLoopMode) {
  startWithThreeTracks();
  command(IDM_PLAY);
  EXPECT_EQ(current(), 0);
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
  command(IDM_PREVIOUS);
  EXPECT_EQ(current(), 2);
  command(IDM_NEXT);
  EXPECT_EQ(current(), 0);
  command(IDM_NEXT);
  EXPECT_EQ(current(), 1);
  EXPECT_EQ(displayText(1), "b.wav");
}

TEST_F(CommandsTest, PauseTogglesAndPlayResumesInsteadOfRestarting) {
  startWithThreeTracks();
  command(IDM_NEXT);
  ASSERT_EQ(current(), 1);
  command(IDM_PAUSE);
  EXPECT_EQ(engineStateNow(), ENGINE_PAUSED);
  command(IDM_PAUSE);
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
  command(IDM_PAUSE);
  command(IDM_PLAY);
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
  EXPECT_EQ(current(), 1);
  command(IDM_STOP);
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);
  EXPECT_EQ(shell().continueFlag, 0);
  EXPECT_STREQ(shell().trayIcon.szTip, kIdleTrayTip);
}

TEST_F(CommandsTest, KeysOfTheMainWindowDriveTheTransportAndTheVolume) {
  startWithThreeTracks();
  key(mainWindow(), 'X');
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
  key(mainWindow(), 'B');
  EXPECT_EQ(current(), 1);
  key(mainWindow(), 'Z');
  EXPECT_EQ(current(), 0);
  key(mainWindow(), 'C');
  EXPECT_EQ(engineStateNow(), ENGINE_PAUSED);
  key(mainWindow(), 'V');
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);

  engineSetVolume(50, 50);
  int32_t before = 0;
  int32_t left = 0;
  int32_t right = 0;
  engineGetVolume(&before, &right);
  key(mainWindow(), VK_UP);
  engineGetVolume(&left, &right);
  EXPECT_EQ(left, before + 10);
  EXPECT_EQ(left, right);
  for (int i = 0; i < 8; ++i) key(mainWindow(), VK_DOWN);
  engineGetVolume(&left, &right);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(shell().volumeLeft, 0);
}

// Media keys arrive at whichever window has the focus: the main window, a
// child of it, or one of the other windows, which pass them on.
TEST_F(CommandsTest, MediaKeysDriveTheTransportAndTheVolumeFromEveryWindow) {
  startWithThreeTracks();
  auto media = [](HWND to, int command) {
    return SendMessageA(to, WM_APPCOMMAND, reinterpret_cast<WPARAM>(to), MAKELPARAM(0, command));
  };
  // A pause is taken by the playback thread at its next block.
  auto reaches = [this](int32_t state) { return pumpUntil([&] { return engineStateNow() == state; }, 3000); };
  EXPECT_EQ(media(mainWindow(), APPCOMMAND_MEDIA_PLAY_PAUSE), TRUE);
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
  media(shell().playlistBox, APPCOMMAND_MEDIA_PLAY_PAUSE);
  EXPECT_TRUE(reaches(ENGINE_PAUSED));
  media(shell().lyricsWindow, APPCOMMAND_MEDIA_PLAY);
  EXPECT_TRUE(reaches(ENGINE_PLAYING));
  media(mainWindow(), APPCOMMAND_MEDIA_PLAY);
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING) << "play while playing leaves the track alone";
  EXPECT_EQ(current(), 0);
  media(mainWindow(), APPCOMMAND_MEDIA_NEXTTRACK);
  EXPECT_EQ(current(), 1);
  media(mainWindow(), APPCOMMAND_MEDIA_PREVIOUSTRACK);
  EXPECT_EQ(current(), 0);
  media(mainWindow(), APPCOMMAND_MEDIA_STOP);
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);
  media(mainWindow(), APPCOMMAND_MEDIA_PAUSE);
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED) << "pause does not start a stopped player";

  engineSetVolume(50, 50);
  int32_t left = 0;
  int32_t right = 0;
  media(mainWindow(), APPCOMMAND_VOLUME_UP);
  engineGetVolume(&left, &right);
  EXPECT_EQ(left, 60);
  EXPECT_EQ(right, 60);
  media(mainWindow(), APPCOMMAND_VOLUME_DOWN);
  media(mainWindow(), APPCOMMAND_VOLUME_DOWN);
  engineGetVolume(&left, &right);
  EXPECT_EQ(left, 40);
  EXPECT_EQ(media(mainWindow(), APPCOMMAND_VOLUME_MUTE), FALSE) << "left to the system";
}

TEST_F(CommandsTest, ATrackThatEndsLeadsToTheNextByPlayMode) {
  startWithThreeTracks(1);
  command(IDM_PLAY);
  waitForTheEnd();
  tick();
  EXPECT_EQ(current(), 1) << "loop: on to the next entry";
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);

  shell().playMode = RepeatOne;
  waitForTheEnd();
  tick();
  EXPECT_EQ(current(), 1) << "repeat one: the same entry again";
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
  command(IDM_NEXT);
  EXPECT_EQ(current(), 1) << "next restarts the entry while playback is wanted";
  command(IDM_STOP);
  command(IDM_NEXT);
  EXPECT_EQ(current(), 2) << "after stop, next advances";

  shell().playMode = StopAfterTrack;
  waitForTheEnd();
  tick();
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);
  EXPECT_EQ(shell().continueFlag, 0);
  EXPECT_NE(titleText(), "") << "the title line keeps its text for one tick";
  tick();
  EXPECT_EQ(titleText(), "");
}

TEST_F(CommandsTest, TheModeButtonCyclesThePlayModes) {
  startPlayer();
  for (int32_t expected : {1, 2, 3, 0}) {
    command(IDC_MODE);
    EXPECT_EQ(shell().playMode, expected);
  }
}

TEST_F(CommandsTest, AListOfFilesThatCannotPlayIsWalkedOnceAndThenGivenUp) {
  // Files the information reader rejects but whose name says "wav" are
  // listed; none of them opens.
  for (const char* name : {"x.wav", "y.wav", "z.wav"}) {
    writeFileBytes(file(name), std::vector<uint8_t>(64, 0x11));
  }
  startPlayer();
  for (const char* name : {"x.wav", "y.wav", "z.wav"}) sendCommandLine(file(name));
  ASSERT_EQ(shell().playlist.count(), 3);
  command(IDM_PLAY);
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);
  for (int i = 0; i < 6 && shell().continueFlag == 1; ++i) tick();
  EXPECT_EQ(shell().continueFlag, 0);
  EXPECT_STREQ(shell().titleText, kNothingPlayableTitle);
  tick();
  EXPECT_STREQ(shell().titleText, kNothingPlayableTitle) << "the message stays until something plays";

  writeWave("good.wav", 2);
  sendCommandLine(file("good.wav"));
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
  EXPECT_EQ(current(), 3);
}

TEST_F(CommandsTest, AForwardedCommandLineAddsItsFilesAndPlaysTheFirst) {
  startWithThreeTracks();
  writeWave("d e.wav", 2);
  sendCommandLine("\"" + file("d e.wav") + "\"");
  EXPECT_EQ(shell().playlist.count(), 4);
  EXPECT_EQ(current(), 3);
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
}

// A second start's message can arrive while this thread waits inside the
// engine (opening the wave device): acting on it there would start a track
// inside the start of another.
TEST_F(CommandsTest, AForwardedCommandLineWaitsForTheMessageLoop) {
  startWithThreeTracks();
  writeWave("d.wav", 2);
  const std::string text = file("d.wav");
  COPYDATASTRUCT data{0, static_cast<DWORD>(text.size() + 1), const_cast<char*>(text.c_str())};
  SendMessageA(mainWindow(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  EXPECT_EQ(shell().playlist.count(), 3);
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);
  pumpFor(0);
  EXPECT_EQ(shell().playlist.count(), 4);
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
}

TEST_F(CommandsTest, ForwardedTextIsCheckedBeforeItIsUsed) {
  startWithThreeTracks();
  writeWave("d.wav", 2);
  const std::string path = file("d.wav");
  sendCommandLine(path, 7);
  EXPECT_EQ(shell().playlist.count(), 3) << "another tag: not a command line";
  sendCommandLine(path, 0, static_cast<DWORD>(path.size()));
  EXPECT_EQ(shell().playlist.count(), 3) << "no NUL within the stated size";
  SendMessageA(mainWindow(), WM_COPYDATA, 0, 0);
  EXPECT_EQ(shell().playlist.count(), 3);
  sendCommandLine(path);
  EXPECT_EQ(shell().playlist.count(), 4);
}

TEST_F(CommandsTest, TheTitleLineAndTrayTipFollowThePlayingEntry) {
  writeMpeg("tagged.mp3", 200, "Song", "Artist");
  startPlayer("\"" + file("tagged.mp3") + "\"");
  ASSERT_EQ(shell().playlist.count(), 1);
  ASSERT_EQ(engineStateNow(), ENGINE_PLAYING) << engineGetStatus();
  EXPECT_STREQ(shell().trayIcon.szTip, "Artist - Song");
  tick();
  EXPECT_EQ(titleText().substr(5), " Artist - Song [00:05]");
}

TEST_F(CommandsTest, SaveSettingsAndOptionCommandsFlipTheirMenuChecks) {
  startPlayer();
  const HMENU menu = shell().menu;
  EXPECT_EQ(GetMenuState(menu, IDM_SAVE_SETTINGS, MF_BYCOMMAND) & MF_CHECKED, 0u);
  command(IDM_SAVE_SETTINGS);
  EXPECT_EQ(shell().saveSettingsEnabled, 1);
  EXPECT_NE(GetMenuState(menu, IDM_SAVE_SETTINGS, MF_BYCOMMAND) & MF_CHECKED, 0u);
  command(IDM_ALWAYS_ON_TOP);
  EXPECT_NE(GetWindowLongA(mainWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  command(IDM_ALWAYS_ON_TOP);
  EXPECT_EQ(GetWindowLongA(mainWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  command(IDM_STICKY_MODE);
  EXPECT_EQ(shell().stickyMode, 1);
  command(IDM_SETTINGS);  // greyed: nothing happens
}

// Runs while the about box's modal loop runs: reads the box and closes it.
struct AboutBoxSeen {
  int opened = 0;
  std::string line;
};
AboutBoxSeen gAboutBox;

void CALLBACK closeAboutBox(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND box = FindWindowA("#32770", "オルヴァについて");
  if (box == nullptr) return;
  ++gAboutBox.opened;
  char text[64] = {};
  GetDlgItemTextA(box, IDC_ABOUT_TEXT, text, sizeof text);
  gAboutBox.line = text;
  // A second request while it is open must not open another.
  SendMessageA(GetWindow(box, GW_OWNER), WM_COMMAND, IDM_ABOUT, 0);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  KillTimer(nullptr, timer);
}

TEST_F(CommandsTest, TheAboutBoxShowsTheVersionAndOpensOnce) {
  startPlayer();
  gAboutBox = AboutBoxSeen{};
  SetTimer(nullptr, 0, 50, closeAboutBox);
  command(IDM_ABOUT);
  EXPECT_EQ(gAboutBox.opened, 1);
  EXPECT_EQ(gAboutBox.line, "オルヴァ  Ver.0.13");
  EXPECT_EQ(shell().aboutBox, nullptr);
}

// Closes the information dialog as soon as it shows, counting it.
int gInfoDialogsSeen = 0;

void CALLBACK closeInfoDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND dialog = FindWindowA("#32770", "情報");
  if (dialog == nullptr) return;
  ++gInfoDialogsSeen;
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  KillTimer(nullptr, timer);
}

TEST_F(CommandsTest, TheInformationDialogOpensFromTheTitleLineAndTheListMenu) {
  writeMpeg("tagged.mp3", 40, "Song", "Artist");
  startPlayer(file("tagged.mp3"));
  gInfoDialogsSeen = 0;
  SetTimer(nullptr, 0, 50, closeInfoDialog);
  SendMessageA(shell().titleDisplay, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_EQ(gInfoDialogsSeen, 1);
  SetTimer(nullptr, 0, 50, closeInfoDialog);
  SendMessageA(shell().playlistBox, WM_COMMAND, IDM_INFORMATION, 0);
  EXPECT_EQ(gInfoDialogsSeen, 2);
}

TEST_F(CommandsTest, ExitCommandsCloseTheMainWindow) {
  startPlayer();
  command(IDM_EXIT);
  EXPECT_FALSE(IsWindow(mainWindow()));
  TearDown();
  startPlayer();
  command(IDC_CLOSE);
  EXPECT_FALSE(IsWindow(mainWindow())) << "the close button in the corner";
}

}  // namespace
}  // namespace orva::test

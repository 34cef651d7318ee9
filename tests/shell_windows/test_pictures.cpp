// Pictures of the player compared with the committed references in
// pictures/: the main window expanded with a list and a paused entry,
// collapsed to its control row, in compact mode and with pressed buttons;
// the equalizer window with a preset, the lyrics window with three lines,
// and the mini window.
//
// Each picture is the window's area copied from the screen after it has
// painted, at a fixed place and size, with a fixed list, the engine paused
// at a fixed second and the pointer parked far away (so the close button
// stays hidden). Set ORVA_UPDATE_PICTURES=1 to write the references anew;
// on a mismatch the picture taken is written beside the test program.
#include <gtest/gtest.h>

#include "orva_engine.h"
#include "playlist/add_files.h"
#include "resources/resource_ids.h"
#include "shell/commands.h"
#include "tests/shell_windows/picture_compare.h"
#include "tests/shell_windows/player_fixture.h"

namespace orva::test {
namespace {

constexpr int kLeft = 200;
constexpr int kTop = 200;
constexpr int kWidth = 300;
constexpr int kHeight = 150;

class PictureTest : public PlayerTest {
 protected:
  void SetUp() override { parkCursor(); }

  // Five entries, two of them with Japanese tags (one of those with 0x5C
  // trail bytes), played from the third and paused at its fourth second.
  void startWithList() {
    const std::string files[] = {
        writeMpeg("01.mp3", 200, "夜明けのうた", "青葉"),
        writeMpeg("02.mp3", 120, "Morning Walk", "Quiet Band"),
        writeMpeg("03.mp3", 385, "ソフトな表現", "能登"),
        writeWave("04 rain.wav", 75),
        writeWave("05 a rather long file name that needs an ellipsis.wav", 9),
    };
    startPlayer();
    for (const std::string& f : files) addPath(shell().playlist, f.c_str());
    ASSERT_EQ(shell().playlist.count(), 5);
    ASSERT_EQ(playEntry(2), 1);
    command(IDM_PAUSE);
    ASSERT_TRUE(pumpUntil([this] { return engineStateNow() == ENGINE_PAUSED; }));
    engineSeekSeconds(4);
    ASSERT_TRUE(pumpUntil([] {
      int32_t seconds = 0;
      engineGetState(&seconds);
      return seconds == 4;
    }));
    setVolumeByClick(9);  // (21 - 7) * 100 / 21 = 66: the knob halfway
    placeWindow(kWidth, kHeight);
  }

  void setVolumeByClick(int y) {
    SendMessageA(shell().volumeBar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, y));
    SendMessageA(shell().volumeBar, WM_LBUTTONUP, 0, MAKELPARAM(3, y));
  }

  void placeWindow(int width, int height) {
    SetWindowPos(mainWindow(), HWND_TOP, kLeft, kTop, width, height, SWP_SHOWWINDOW);
  }

  // No hover, no focus rectangle, the time shown, everything painted and on
  // the screen.
  void settle() {
    parkCursor();
    SetForegroundWindow(mainWindow());
    SetFocus(mainWindow());
    tick();
    pumpFor(100);
    RedrawWindow(mainWindow(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    pumpFor(250);
  }

  static void parkCursor() { SetCursorPos(1270, 1010); }

  void expectPicture(const std::string& name) { expectPictureOf(name, mainWindow()); }

  void expectPictureOf(const std::string& name, HWND window) {
    settle();
    expectCapture(name, captureWindow(window));
  }

  void expectCapture(const std::string& name, const Picture& actual) { EXPECT_TRUE(matchesReference(name, actual)); }
};

TEST_F(PictureTest, ExpandedWindowWithAListAndAPausedEntry) {
  startWithList();
  expectPicture("expanded");
}

TEST_F(PictureTest, CollapsedToTheControlRow) {
  startWithList();
  command(IDC_LIST_TOGGLE);
  pumpFor(50);
  RECT client;
  GetClientRect(mainWindow(), &client);
  ASSERT_EQ(client.bottom, 29);
  expectPicture("collapsed");
}

TEST_F(PictureTest, CompactModeKeepsTitleSeekAndVolume) {
  startWithList();
  SendMessageA(mainWindow(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 20));
  ASSERT_EQ(shell().compactMode, 1);
  expectPicture("compact");
}

TEST_F(PictureTest, PressedButtonsAreSunkenAndModeShowsItsWord) {
  startWithList();
  command(IDC_LIST_TOGGLE);
  SendMessageA(shell().buttons[kButtonPlay], BM_SETSTATE, TRUE, 0);
  SendMessageA(shell().buttons[kButtonMode], BM_SETSTATE, TRUE, 0);
  expectPicture("pressed");
}

TEST_F(PictureTest, TheEqualizerWindowWithAPreset) {
  startWithList();
  command(IDC_EQUALIZER_TOGGLE);
  SendMessageA(shell().equalizerWindow, WM_COMMAND, IDC_EQ_ENABLE, 0);
  SendMessageA(GetDlgItem(shell().equalizerWindow, IDC_EQ_ENABLE), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(shell().equalizerWindow, WM_COMMAND, IDM_EQ_PRESET_FIRST + 7, 0);  // "Full Bass"
  expectPictureOf("equalizer", shell().equalizerWindow);
}

TEST_F(PictureTest, TheLyricsWindowWithThreeLines) {
  const std::string song = writeMpeg("song.mp3", 385, "歌", "能登");
  const std::string lyrics = "[00:00]はじまりの朝\r\n[00:02]ソフトな表現で\r\n[00:04]歌おう\r\n[00:06]おわり\r\n";
  writeFileBytes(file("song.txt"), std::vector<uint8_t>(lyrics.begin(), lyrics.end()));
  startPlayer(song);
  command(IDM_PAUSE);
  ASSERT_TRUE(pumpUntil([this] { return engineStateNow() == ENGINE_PAUSED; }));
  engineSeekSeconds(3);
  ASSERT_TRUE(pumpUntil([] {
    int32_t seconds = 0;
    engineGetState(&seconds);
    return seconds == 3;
  }));
  placeWindow(kWidth, 29 + 8);
  command(IDC_LYRICS_TOGGLE);
  SendMessageA(mainWindow(), WM_TIMER, IDT_FAST_TICK, 0);
  expectPictureOf("lyrics", shell().lyricsWindow);
}

TEST_F(PictureTest, TheMiniWindow) {
  startWithList();
  SendMessageA(mainWindow(), WM_ORVA_TRAY, TRAY_ICON_UID, WM_MBUTTONUP);
  HWND mini = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM found) {
        if (GetDlgItem(window, IDC_MINI_SEEK) == nullptr) return TRUE;
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&mini));
  ASSERT_NE(mini, nullptr);
  // The mini window closes when it loses activation: no settle() here.
  SendMessageA(mini, WM_TIMER, IDT_MINI_TICK, 0);
  RedrawWindow(mini, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  pumpFor(250);
  expectCapture("mini", captureWindow(mini));
}

}  // namespace
}  // namespace orva::test

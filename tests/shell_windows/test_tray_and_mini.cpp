// Keeping the player out of the way: the tray icon's clicks, the mini
// window, sticky mode against the right screen edge, and the joystick's
// buttons (Wine has no joystick: the stick's rules are tested with recorded
// readings in the portable suite).
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <mmsystem.h>

#include "orva_engine.h"
#include "resources/resource_ids.h"
#include "shell/joystick.h"
#include "tests/shell_windows/player_fixture.h"

namespace orva::test {
namespace {

class TrayAndMiniTest : public PlayerTest {
 protected:
  void trayClick(UINT mouseMessage) { SendMessageA(mainWindow(), WM_ORVA_TRAY, TRAY_ICON_UID, mouseMessage); }

  // The mini window: the one top-level dialog of this thread with a seek slider.
  static BOOL CALLBACK findMini(HWND window, LPARAM found) {
    if (GetDlgItem(window, IDC_MINI_SEEK) != nullptr && IsWindowVisible(window)) {
      *reinterpret_cast<HWND*>(found) = window;
      return FALSE;
    }
    return TRUE;
  }
  HWND miniWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findMini, reinterpret_cast<LPARAM>(&found));
    return found;
  }
  int32_t positionSeconds() {
    int32_t position = 0;
    engineGetState(&position);
    return position;
  }
  RECT mainRect() {
    RECT r{};
    GetWindowRect(mainWindow(), &r);
    return r;
  }
};

TEST_F(TrayAndMiniTest, ALeftClickHidesAndShowsThePlayerWithItsDockedWindows) {
  startPlayer();
  command(IDC_EQUALIZER_TOGGLE);
  trayClick(WM_LBUTTONUP);
  EXPECT_FALSE(IsWindowVisible(mainWindow()));
  EXPECT_FALSE(IsWindowVisible(shell().equalizerWindow));
  EXPECT_FALSE(IsWindowVisible(shell().lyricsWindow));
  trayClick(WM_LBUTTONUP);
  EXPECT_TRUE(IsWindowVisible(mainWindow()));
  EXPECT_TRUE(IsWindowVisible(shell().equalizerWindow));
  EXPECT_FALSE(IsWindowVisible(shell().lyricsWindow)) << "it was not shown before";
  trayClick(WM_MOUSEMOVE);
  EXPECT_TRUE(IsWindowVisible(mainWindow()));
}

TEST_F(TrayAndMiniTest, TheMiniWindowSeeksAndSetsTheVolumeAndClosesWhenLeft) {
  writeWave("long.wav", 300);
  startPlayer(file("long.wav"));
  ASSERT_EQ(shell().totalSeconds, 300);
  trayClick(WM_MBUTTONUP);
  const HWND mini = miniWindow();
  ASSERT_NE(mini, nullptr);
  EXPECT_NE(GetWindowLongA(mini, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  char title[64] = {};
  GetDlgItemTextA(mini, IDC_MINI_TITLE, title, sizeof title);
  EXPECT_EQ(std::string(title).substr(5), " long.wav [05:00]");
  // Media keys pressed while the mini window has the focus. The playback
  // thread takes a pause at its next block, which may be a while.
  for (int32_t expected : {ENGINE_PAUSED, ENGINE_PLAYING}) {
    SendMessageA(mini, WM_APPCOMMAND, reinterpret_cast<WPARAM>(mini), MAKELPARAM(0, APPCOMMAND_MEDIA_PLAY_PAUSE));
    EXPECT_TRUE(pumpUntil([&] { return engineStateNow() == expected; }, 3000)) << expected;
  }

  const HWND seek = GetDlgItem(mini, IDC_MINI_SEEK);
  SendMessageA(seek, TBM_SETPOS, TRUE, 150);
  SendMessageA(mini, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 150), reinterpret_cast<LPARAM>(seek));
  EXPECT_TRUE(pumpUntil([&] { return positionSeconds() >= 150; }, 3000)) << positionSeconds();
  EXPECT_NEAR(positionSeconds(), 150, 1) << "the middle of the track";

  const HWND volume = GetDlgItem(mini, IDC_MINI_VOLUME);
  SendMessageA(volume, TBM_SETPOS, TRUE, 30);
  SendMessageA(mini, WM_VSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 30), reinterpret_cast<LPARAM>(volume));
  int32_t left = 0;
  int32_t right = 0;
  engineGetVolume(&left, &right);
  EXPECT_EQ(left, 70) << "the top is loud";
  EXPECT_EQ(shell().volumeShown, 70);

  SendMessageA(mini, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_FALSE(IsWindow(mini));
}

TEST_F(TrayAndMiniTest, TheMiniSeekSliderRestsAtZeroWhileNothingPlays) {
  startPlayer();
  trayClick(WM_MBUTTONUP);
  const HWND mini = miniWindow();
  ASSERT_NE(mini, nullptr);
  const HWND seek = GetDlgItem(mini, IDC_MINI_SEEK);
  SendMessageA(seek, TBM_SETPOS, TRUE, 200);
  SendMessageA(mini, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 200), reinterpret_cast<LPARAM>(seek));
  EXPECT_EQ(SendMessageA(seek, TBM_GETPOS, 0, 0), 0);
  DestroyWindow(mini);
}

TEST_F(TrayAndMiniTest, StickyModeHidesAgainstTheRightEdgeAndSlidesOutUnderThePointer) {
  startPlayer();
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  SetWindowPos(mainWindow(), nullptr, 300, 300, 300, 150, SWP_NOZORDER);
  command(IDM_STICKY_MODE);
  SetCursorPos(5, 5);
  tick();
  EXPECT_EQ(mainRect().left, desktop.right - 13);
  const RECT hidden = mainRect();
  SetCursorPos(desktop.right - 5, hidden.top + 20);
  SendMessageA(mainWindow(), WM_MOUSEMOVE, 0, 0);
  EXPECT_EQ(mainRect().right, desktop.right + 3) << "fully out, the right border just off screen";
  command(IDM_STICKY_MODE);
  SetCursorPos(5, 5);
  tick();
  EXPECT_EQ(mainRect().right, desktop.right + 3) << "off again: nothing moves";
}

TEST_F(TrayAndMiniTest, WithoutAJoystickItsButtonsStillRunTheTransport) {
  writeWave("a.wav", 5);
  startPlayer(file("a.wav"));
  command(IDM_STOP);
  int32_t x = 9;
  int32_t y = 9;
  EXPECT_FALSE(pollJoystick(x, y)) << "Wine reports no joystick";
  EXPECT_EQ(initJoystick(mainWindow()), 0);
  SendMessageA(mainWindow(), MM_JOY1BUTTONDOWN, JOY_BUTTON1 | JOY_BUTTON2, 0);
  EXPECT_EQ(engineStateNow(), ENGINE_PAUSED) << "play, then pause";
  SendMessageA(mainWindow(), MM_JOY1BUTTONDOWN, JOY_BUTTON2, 0);
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
}

}  // namespace
}  // namespace orva::test

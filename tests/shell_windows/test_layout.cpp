// The main window's geometry as the user changes it: the frame's limits,
// the list and compact toggles, the windows docked below, and dragging the
// window by its surface with the edges it snaps to.
#include <gtest/gtest.h>

#include "resources/resource_ids.h"
#include "shell/rules/layout_rules.h"
#include "tests/shell_windows/player_fixture.h"

namespace orva::test {
namespace {

class LayoutTest : public PlayerTest {
 protected:
  RECT windowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
  }
  SIZE clientSize() {
    RECT r{};
    GetClientRect(mainWindow(), &r);
    return SIZE{r.right, r.bottom};
  }
  // A child's rectangle in the main window's client coordinates.
  RECT childRect(HWND child) {
    RECT r = windowRect(child);
    MapWindowPoints(nullptr, mainWindow(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  void moveMain(int x, int y, int w, int h) { SetWindowPos(mainWindow(), nullptr, x, y, w, h, SWP_NOZORDER); }
  int nonClientHeight() {
    const RECT r = windowRect(mainWindow());
    return (r.bottom - r.top) - clientSize().cy;
  }

  LPARAM clientPoint(POINT screen) {
    ScreenToClient(mainWindow(), &screen);
    return MAKELPARAM(screen.x, screen.y);
  }
  // Drags the window by its surface so that, unsnapped, its top-left corner
  // would land at (x, y); the grab point is 50, 10 inside the window.
  void dragWindowTo(int x, int y) {
    const RECT r = windowRect(mainWindow());
    SendMessageA(mainWindow(), WM_LBUTTONDOWN, MK_LBUTTON, clientPoint(POINT{r.left + 50, r.top + 10}));
    SendMessageA(mainWindow(), WM_MOUSEMOVE, MK_LBUTTON, clientPoint(POINT{x + 50, y + 10}));
    SendMessageA(mainWindow(), WM_LBUTTONUP, 0, clientPoint(POINT{x + 50, y + 10}));
  }
};

TEST_F(LayoutTest, AFirstStartShowsTheControlRowCentred) {
  startPlayer();
  EXPECT_EQ(clientSize().cy, kControlRowHeight);
  const RECT r = windowRect(mainWindow());
  EXPECT_EQ(r.right - r.left, 244);
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  EXPECT_NEAR((r.left + r.right) / 2, desktop.right / 2, 1);
  EXPECT_FALSE(IsWindowVisible(shell().playlistBox));
  EXPECT_TRUE(IsWindowVisible(shell().buttons[kButtonPlay]));
}

TEST_F(LayoutTest, ChildrenFollowTheClientSize) {
  startPlayer();
  moveMain(100, 100, 400, 200);
  const SIZE client = clientSize();
  const int ch = static_cast<int>(client.cy);
  const int cw = static_cast<int>(client.cx);
  EXPECT_EQ(shell().seekWidth, cw - 218);
  const RECT title = childRect(shell().titleDisplay);
  EXPECT_EQ(title.left, 208);
  EXPECT_EQ(title.top, ch - 27);
  EXPECT_EQ(title.right - title.left, cw - 218);
  const RECT volume = childRect(shell().volumeBar);
  EXPECT_EQ(volume.left, cw - 218 + 210);
  const RECT mode = childRect(shell().buttons[kButtonMode]);
  EXPECT_EQ(mode.left, 180);
  EXPECT_EQ(mode.top, ch - 27);
  const RECT list = childRect(shell().playlistBox);
  EXPECT_EQ(list.left, 14);
  EXPECT_EQ(list.top, 6);
  EXPECT_EQ(list.right - list.left, cw - 19);
  EXPECT_EQ(list.bottom - list.top, ch - 38);
  EXPECT_TRUE(IsWindowVisible(shell().playlistBox));
  EXPECT_EQ(shell().lastHeight, 200);
}

TEST_F(LayoutTest, TooLowForTheListSnapsToTheControlRow) {
  startPlayer();
  moveMain(100, 100, 300, 40 + nonClientHeight());
  EXPECT_EQ(clientSize().cy, kControlRowHeight);
  EXPECT_FALSE(IsWindowVisible(shell().playlistBox));
  moveMain(100, 100, 200, 150);
  EXPECT_EQ(windowRect(mainWindow()).right - windowRect(mainWindow()).left, 244) << "never narrower than the buttons";
}

TEST_F(LayoutTest, TheListToggleKeepsTheBottomEdge) {
  startPlayer();
  const RECT collapsed = windowRect(mainWindow());
  command(IDC_LIST_TOGGLE);
  RECT expanded = windowRect(mainWindow());
  EXPECT_EQ(expanded.bottom, collapsed.bottom);
  EXPECT_EQ(expanded.bottom - expanded.top, 100) << "the last height of a first run";
  EXPECT_TRUE(IsWindowVisible(shell().playlistBox));
  command(IDC_LIST_TOGGLE);
  const RECT again = windowRect(mainWindow());
  EXPECT_EQ(again.bottom, collapsed.bottom);
  EXPECT_EQ(clientSize().cy, kControlRowHeight);

  moveMain(again.left, again.top - 200, 300, 300);
  command(IDC_LIST_TOGGLE);
  command(IDC_LIST_TOGGLE);
  expanded = windowRect(mainWindow());
  EXPECT_EQ(expanded.bottom - expanded.top, 300) << "back to the last height the list was shown at";
}

TEST_F(LayoutTest, SizingIsHeldToTheModesLimits) {
  startPlayer();
  RECT proposed{100, 100, 200, 110};
  EXPECT_TRUE(SendMessageA(mainWindow(), WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&proposed)));
  EXPECT_EQ(proposed.left, 100);
  EXPECT_EQ(proposed.right, 344);
  EXPECT_EQ(proposed.bottom - proposed.top, nonClientHeight() + kControlRowHeight);

  proposed = RECT{100, 100, 200, 110};
  SendMessageA(mainWindow(), WM_SIZING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&proposed));
  EXPECT_EQ(proposed.right, 200) << "dragging the left edge moves the left edge back";
  EXPECT_EQ(proposed.left, 200 - 244);

  SendMessageA(mainWindow(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 10));
  ASSERT_EQ(shell().compactMode, 1);
  proposed = RECT{100, 100, 150, 400};
  SendMessageA(mainWindow(), WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&proposed));
  EXPECT_EQ(proposed.right - proposed.left, 133);
  EXPECT_EQ(proposed.bottom - proposed.top, nonClientHeight() + kControlRowHeight) << "compact: one row high";
}

TEST_F(LayoutTest, CompactModeLeavesTitleSeekAndVolume) {
  startPlayer();
  moveMain(100, 100, 300, 200);
  SendMessageA(mainWindow(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 10));
  EXPECT_EQ(shell().compactMode, 1);
  EXPECT_EQ(clientSize().cy, kControlRowHeight);
  EXPECT_FALSE(IsWindowVisible(shell().playlistBox));
  EXPECT_FALSE(IsWindowVisible(shell().buttons[kButtonPlay]));
  const int cw = static_cast<int>(clientSize().cx);
  const RECT title = childRect(shell().titleDisplay);
  EXPECT_EQ(title.left, 13);
  EXPECT_EQ(title.top, 2);
  EXPECT_EQ(title.right - title.left, cw - 23);
  EXPECT_EQ(childRect(shell().seekBar).top, 20);

  SendMessageA(mainWindow(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 10));
  EXPECT_EQ(shell().compactMode, 1) << "only the left strip toggles";
  SendMessageA(mainWindow(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 10));
  EXPECT_EQ(shell().compactMode, 0);
  EXPECT_TRUE(IsWindowVisible(shell().buttons[kButtonPlay]));
  EXPECT_FALSE(IsWindowVisible(shell().playlistBox)) << "the list waits for the list toggle";
  EXPECT_EQ(clientSize().cy, kControlRowHeight);
}

TEST_F(LayoutTest, DockedWindowsHangBelowAndFollow) {
  startPlayer();
  moveMain(100, 100, 400, 150);
  command(IDC_EQUALIZER_TOGGLE);
  command(IDC_LYRICS_TOGGLE);
  RECT main = windowRect(mainWindow());
  RECT eq = windowRect(shell().equalizerWindow);
  RECT ly = windowRect(shell().lyricsWindow);
  EXPECT_TRUE(IsWindowVisible(shell().equalizerWindow));
  EXPECT_EQ(eq.left, main.left);
  EXPECT_EQ(eq.top, main.bottom);
  EXPECT_EQ(eq.right - eq.left, 180);
  EXPECT_EQ(eq.bottom - eq.top, 110);
  EXPECT_EQ(ly.left, main.left + 180);
  EXPECT_EQ(ly.top, main.bottom);
  EXPECT_EQ(ly.right, main.right);

  moveMain(150, 120, 400, 150);
  main = windowRect(mainWindow());
  eq = windowRect(shell().equalizerWindow);
  EXPECT_EQ(eq.left, 150);
  EXPECT_EQ(eq.top, main.bottom);

  command(IDC_EQUALIZER_TOGGLE);
  EXPECT_FALSE(IsWindowVisible(shell().equalizerWindow));
  ly = windowRect(shell().lyricsWindow);
  EXPECT_EQ(ly.left, main.left) << "alone, the lyrics window takes the full width";
  EXPECT_EQ(ly.right, main.right);
  command(IDC_LYRICS_TOGGLE);
  EXPECT_FALSE(IsWindowVisible(shell().lyricsWindow));
  EXPECT_EQ(shell().lyricsVisible, 0);
}

TEST_F(LayoutTest, DraggingSnapsToTheScreenEdges) {
  startPlayer();
  moveMain(300, 300, 300, 29 + nonClientHeight());
  dragWindowTo(7, 200);
  EXPECT_EQ(windowRect(mainWindow()).left, 0);
  dragWindowTo(12, 200);
  EXPECT_EQ(windowRect(mainWindow()).left, 12);
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  dragWindowTo(desktop.right - 300 + 6, 200);
  EXPECT_EQ(windowRect(mainWindow()).right, desktop.right);
  dragWindowTo(200, -1000);
  const RECT high = windowRect(mainWindow());
  EXPECT_EQ(high.bottom, 3) << "three pixels stay on the screen";
}

TEST_F(LayoutTest, AMoveWithoutTheButtonEndsTheDrag) {
  startPlayer();
  moveMain(300, 300, 300, 29 + nonClientHeight());
  SendMessageA(mainWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 10));
  SendMessageA(mainWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(150, 10));
  EXPECT_EQ(windowRect(mainWindow()).left, 300);
  EXPECT_FALSE(shell().dragging);
  ReleaseCapture();
}

}  // namespace
}  // namespace orva::test

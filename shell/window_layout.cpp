// Applies the layout and snapping rules to the windows: moves the children,
// resizes the frame, hangs the docked windows under it and drags it.
#include "shell/window_layout.h"

#include <windows.h>

#include "shell/rules/snapping.h"
#include "shell/rules/sticky_mode.h"
#include "shell/shell_state.h"

namespace orva {

namespace {

Rect toRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

HWND childWindow(MainChild child) {
  ShellState& s = shellState();
  switch (child) {
    case kTitleDisplay: return s.titleDisplay;
    case kSeekBar: return s.seekBar;
    case kVolumeBar: return s.volumeBar;
    case kPlaylistBox: return s.playlistBox;
    default: return s.buttons[child];  // the nine buttons share the first slots
  }
}

void moveWindowTo(HWND window, const Rect& r, UINT flags) {
  SetWindowPos(window, nullptr, r.left, r.top, r.width(), r.height(), SWP_NOZORDER | SWP_NOACTIVATE | flags);
}

void resizeMainWindow(const Rect& r) { moveWindowTo(shellState().mainWindow, r, 0); }

void applyLayout(const MainLayout& layout) {
  ShellState& s = shellState();
  for (int child = 0; child < kMainChildCount; ++child) {
    if (layout.placed[child])
      moveWindowTo(childWindow(static_cast<MainChild>(child)), layout.child[child], SWP_FRAMECHANGED);
  }
  if (layout.placed[kTitleDisplay]) s.seekWidth = layout.seekWidth;
  if (layout.playlist == ListVisibility::Shown) ShowWindow(s.playlistBox, SW_SHOW);
  if (layout.playlist == ListVisibility::Hidden) ShowWindow(s.playlistBox, SW_HIDE);
  if (layout.rememberHeight) s.lastHeight = layout.lastHeight;
  if (layout.resize) resizeMainWindow(layout.window);
}

bool dockedWindowShown() {
  const ShellState& s = shellState();
  return s.equalizerVisible || s.lyricsVisible;
}

SnapScreen snapScreen() {
  const ShellState& s = shellState();
  SnapScreen screen{};
  RECT r;
  GetWindowRect(GetDesktopWindow(), &r);
  screen.desktop = toRect(r);
  if (s.taskbarWindow != nullptr && GetWindowRect(s.taskbarWindow, &r)) {
    screen.hasTaskbar = true;
    screen.taskbar = toRect(r);
  }
  return screen;
}

}  // namespace

WindowFrame mainWindowFrame() {
  RECT window;
  RECT client;
  const HWND main = shellState().mainWindow;
  GetWindowRect(main, &window);
  GetClientRect(main, &client);
  return WindowFrame{toRect(window), client.right, client.bottom};
}

void layoutMainWindow(WPARAM sizeType) {
  ShellState& s = shellState();
  if (s.mainWindow == nullptr) return;
  const WindowFrame frame = mainWindowFrame();
  if (sizeType == SIZE_RESTORED || sizeType == SIZE_MAXIMIZED) {
    s.clientWidth = frame.clientWidth;
    s.clientHeight = frame.clientHeight;
    applyLayout(orva::layoutMainWindow(frame, s.compactMode != 0));
  }
  placeDockedWindows();
}

void placeDockedWindows() {
  ShellState& s = shellState();
  if (s.mainWindow == nullptr) return;
  RECT window;
  GetWindowRect(s.mainWindow, &window);
  const DockedPlaces places = orva::placeDockedWindows(toRect(window), s.equalizerVisible != 0);
  if (s.equalizerVisible && s.equalizerWindow != nullptr) moveWindowTo(s.equalizerWindow, places.equalizer, 0);
  if (s.lyricsVisible && s.lyricsWindow != nullptr) moveWindowTo(s.lyricsWindow, places.lyrics, 0);
}

void limitMainWindowSizing(WPARAM edge, RECT* proposed) {
  const WindowFrame frame = mainWindowFrame();
  const Rect limited = limitSizing(toRect(*proposed), sizingEdges(static_cast<uint32_t>(edge)), frame.nonClientHeight(),
                                   shellState().compactMode != 0);
  *proposed = RECT{limited.left, limited.top, limited.right, limited.bottom};
}

void toggleListWindow() { resizeMainWindow(orva::toggleListWindow(mainWindowFrame(), shellState().lastHeight)); }

void toggleEqualizerWindow() {
  ShellState& s = shellState();
  if (s.equalizerWindow == nullptr) return;
  if (s.equalizerVisible) {
    ShowWindow(s.equalizerWindow, SW_HIDE);
    s.equalizerVisible = 0;
  } else {
    s.equalizerVisible = 1;
    placeDockedWindows();
    ShowWindow(s.equalizerWindow, SW_SHOWNOACTIVATE);
  }
  placeDockedWindows();
}

void toggleLyricsWindow() {
  ShellState& s = shellState();
  if (s.lyricsVisible) {
    ShowWindow(s.lyricsWindow, SW_HIDE);
    s.lyricsVisible = 0;
    return;
  }
  s.lyricsVisible = 1;
  placeDockedWindows();
  ShowWindow(s.lyricsWindow, SW_SHOWNOACTIVATE);
  InvalidateRect(s.lyricsWindow, nullptr, TRUE);
}

void showFullControls(bool shown) {
  ShellState& s = shellState();
  const int command = shown ? SW_SHOW : SW_HIDE;
  ShowWindow(s.playlistBox, command);
  for (HWND button : s.buttons) ShowWindow(button, command);
}

void toggleCompactMode() {
  ShellState& s = shellState();
  const CompactToggle toggle = orva::toggleCompactMode(mainWindowFrame(), s.compactMode != 0);
  s.compactMode = toggle.compactMode ? 1 : 0;
  showFullControls(toggle.showButtonsAndList);
  if (toggle.resize) resizeMainWindow(toggle.window);
  layoutMainWindow(SIZE_RESTORED);
  InvalidateRect(s.mainWindow, nullptr, TRUE);
}

void beginWindowDrag(POINT client) {
  ShellState& s = shellState();
  POINT cursor = client;
  ClientToScreen(s.mainWindow, &cursor);
  RECT window;
  GetWindowRect(s.mainWindow, &window);
  s.grab = grabOffset(Point{cursor.x, cursor.y}, toRect(window), dockedWindowShown());
  s.dragging = true;
  SetWindowPos(s.lyricsWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(s.mainWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetCapture(s.mainWindow);
}

void endWindowDrag() {
  ShellState& s = shellState();
  s.dragging = false;
  ReleaseCapture();
}

void dragWindow(bool leftButtonDown, POINT client) {
  ShellState& s = shellState();
  if (!s.dragging) return stickyModeStep(false);
  if (!leftButtonDown) {
    s.dragging = false;
    return;
  }
  POINT cursor = client;
  ClientToScreen(s.mainWindow, &cursor);
  RECT window;
  GetWindowRect(s.mainWindow, &window);
  const DragState drag{s.grab, window.right - window.left, window.bottom - window.top, dockedWindowShown(),
                       s.stickyMode != 0};
  const Point to = snapDraggedWindow(Point{cursor.x, cursor.y}, drag, snapScreen());
  SetWindowPos(s.mainWindow, nullptr, to.x, to.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

namespace {

bool playerHoldsTheMouse() {
  const ShellState& s = shellState();
  const HWND holder = GetCapture();
  if (holder == nullptr) return false;
  if (holder == s.mainWindow || holder == s.playlistBox) return true;
  return dockedWindowShown() && (holder == s.equalizerWindow || holder == s.lyricsWindow);
}

}  // namespace

void stickyModeStep(bool fromTimer) {
  ShellState& s = shellState();
  if (!s.stickyMode || s.mainWindow == nullptr) return;
  RECT window;
  RECT desktop;
  POINT cursor;
  GetWindowRect(s.mainWindow, &window);
  GetWindowRect(GetDesktopWindow(), &desktop);
  GetCursorPos(&cursor);
  const StickyInput in{toRect(window), toRect(desktop), Point{cursor.x, cursor.y}, dockedWindowShown(),
                       playerHoldsTheMouse()};
  const StickyMove step = stickyStep(in);
  if (!step.move) return;
  if (fromTimer) {
    MoveWindow(s.mainWindow, step.x, window.top, window.right - window.left, window.bottom - window.top, TRUE);
  } else {
    SetWindowPos(s.mainWindow, nullptr, step.x, window.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  }
}

}  // namespace orva

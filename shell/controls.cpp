// The owner-drawn buttons and the three statics of the control row: the
// title line, the seek bar and the volume bar. Each subclass procedure
// takes the messages it owns and hands the rest to the control's own.
#include "shell/controls.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "orva_engine.h"
#include "resources/resource_ids.h"
#include "shell/commands.h"
#include "shell/gdi_resources.h"
#include "shell/gdi_scope.h"
#include "shell/info_dialog.h"
#include "shell/menus.h"
#include "shell/rules/bar_math.h"
#include "shell/rules/key_commands.h"
#include "shell/rules/title_text.h"
#include "shell/shell_state.h"

namespace orva {

namespace {

// The controls' own procedures, put back at shutdown.
struct SubclassedControl {
  HWND window;
  WNDPROC previous;
};
SubclassedControl gSubclassed[kButtonCount + 4] = {};
int gSubclassedCount = 0;
// The folder browser's check box, while that dialog is open.
SubclassedControl gCheckBox = {};

WNDPROC previousProc(HWND window) {
  for (int i = 0; i < gSubclassedCount; ++i) {
    if (gSubclassed[i].window == window) return gSubclassed[i].previous;
  }
  return window == gCheckBox.window ? gCheckBox.previous : DefWindowProcA;
}

LRESULT passOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(previousProc(window), window, message, wParam, lParam);
}

void subclass(HWND window, WNDPROC procedure) {
  if (window == nullptr) return;
  const auto previous =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
  gSubclassed[gSubclassedCount++] = SubclassedControl{window, previous};
}

// Mouse messages of a control go on to the main window in its coordinates.
void forwardToMainWindow(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND main = shellState().mainWindow;
  POINT p{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
  MapWindowPoints(control, main, &p, 1);
  SendMessageA(main, message, wParam, MAKELPARAM(p.x, p.y));
}

// --- buttons ---

bool isOneOfTheNine(HWND window) {
  for (HWND button : shellState().buttons) {
    if (button == window) return true;
  }
  return false;
}

LRESULT CALLBACK buttonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (isOneOfTheNine(window)) {
    if (message == WM_KEYDOWN) applyKeyCommand(keyDownCommand(static_cast<uint32_t>(wParam), KeyReceiver::Button));
    if (message == WM_RBUTTONUP) popUpMainMenu();
  } else if (message == WM_LBUTTONUP) {
    // The folder browser's check box: not an automatic one, so it flips here.
    const bool checked = SendMessageA(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
    SendMessageA(window, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
    shellState().playlist.recurseSubfolders = checked ? 0 : 1;
  }
  return passOn(window, message, wParam, lParam);
}

Glyph buttonGlyph(UINT id, bool pressed) {
  switch (id) {
    case IDC_PREVIOUS: return kGlyphPrevious;
    case IDC_PLAY: return kGlyphPlay;
    case IDC_PAUSE: return kGlyphPause;
    case IDC_STOP: return kGlyphStop;
    case IDC_NEXT: return kGlyphNext;
    case IDC_LIST_TOGGLE: return kGlyphListToggle;
    case IDC_EQUALIZER_TOGGLE: return kGlyphEqualizerToggle;
    case IDC_LYRICS_TOGGLE: return kGlyphLyricsToggle;
    case IDC_MODE: return playModeGlyph(pressed ? 3 : shellState().playMode);
    default: return kGlyphClose;
  }
}

// --- title line ---

LRESULT paintTitle(HWND window) {
  const GdiResources& r = gdiResources();
  const ShellState& s = shellState();
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  SetBkMode(dc, TRANSPARENT);
  {
    Selected font(dc, uiFont());
    Selected pen(dc, r.facePen);
    Selected brush(dc, r.faceBrush);
    Rectangle(dc, 2, 2, client.right - 2, client.bottom - 2);
    RECT text{2, 2, client.right - 2, client.bottom - 2};
    DrawTextA(dc, s.titleText, -1, &text, DT_NOPREFIX);
  }
  EndPaint(window, &paint);
  const HDC frame = GetWindowDC(window);
  drawFrame3d(frame, 0, 0, client.right, client.bottom, false);
  ReleaseDC(window, frame);
  return 0;
}

LRESULT titleDoubleClick(HWND title) {
  const ShellState& s = shellState();
  if (s.playlist.entry(s.playlist.currentIndex) != nullptr) showInfoDialog(title, s.playlist.currentIndex);
  return 0;
}

LRESULT CALLBACK titleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: return paintTitle(window);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: forwardToMainWindow(window, message, wParam, lParam); return 0;
    case WM_LBUTTONDBLCLK: return titleDoubleClick(window);
    case WM_RBUTTONUP: popUpMainMenu(); return 0;
  }
  return passOn(window, message, wParam, lParam);
}

// --- seek bar ---

bool seekable() {
  int32_t position = 0;
  return shellState().totalSeconds != 0 && engineGetState(&position) != ENGINE_STOPPED;
}

LRESULT paintSeekBar(HWND window) {
  const GdiResources& r = gdiResources();
  ShellState& s = shellState();
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window, &paint);
  const int w = s.seekWidth;
  {
    Selected pen(dc, r.facePen);
    Selected brush(dc, r.faceBrush);
    Rectangle(dc, 0, 0, w, kSeekBarHeight);
    SelectObject(dc, r.darkShadowPen);
    MoveToEx(dc, 0, 3, nullptr);
    LineTo(dc, w, 3);
    SelectObject(dc, r.highlightPen);
    MoveToEx(dc, w - 1, 3, nullptr);
    LineTo(dc, w - 1, 4);
    LineTo(dc, -1, 4);
  }
  if (s.totalSeconds != 0) {
    const int x = s.seekDragX != -1 ? s.seekDragX : seekThumbX(engineGetPositionMs(), w, s.totalSeconds);
    drawButtonFace(dc, x, 0, kSeekThumbWidth, kSeekBarHeight, true);
  }
  EndPaint(window, &paint);
  return 0;
}

void dragSeekThumb(HWND window, LPARAM lParam) {
  ShellState& s = shellState();
  s.seekDragX = seekDragPixel(seekPointerX(LOWORD(lParam)), s.seekWidth);
  InvalidateRect(window, nullptr, FALSE);
  const int32_t t = seekSecondsAt(s.seekDragX, s.seekWidth, s.totalSeconds);
  setTitleText(titleLine(t, s.current.displayText, s.totalSeconds).c_str());
}

LRESULT seekButtonDown(HWND window, LPARAM lParam) {
  if (!seekable()) return 0;
  dragSeekThumb(window, lParam);
  SetCapture(window);
  return 0;
}

LRESULT seekMouseMove(HWND window, WPARAM keys, LPARAM lParam) {
  if ((keys & MK_LBUTTON) != 0 && GetCapture() == window && seekable()) dragSeekThumb(window, lParam);
  return 0;
}

LRESULT seekButtonUp(HWND window, LPARAM lParam) {
  ShellState& s = shellState();
  if (GetCapture() != window) return 0;
  ReleaseCapture();
  s.seekDragX = -1;
  if (!seekable()) return 0;
  engineSeekSeconds(seekSecondsAt(seekPointerX(LOWORD(lParam)), s.seekWidth, s.totalSeconds));
  InvalidateRect(window, nullptr, FALSE);
  return 0;
}

// Another window took the mouse in the middle of a drag (a dialog, a menu):
// the thumb goes back to the play position and the title line follows on
// the next tick, instead of both keeping the dragged time until the next
// click.
LRESULT seekCaptureLost(HWND window) {
  ShellState& s = shellState();
  if (s.seekDragX == -1) return 0;
  s.seekDragX = -1;
  InvalidateRect(window, nullptr, FALSE);
  return 0;
}

LRESULT CALLBACK seekProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: return paintSeekBar(window);
    case WM_LBUTTONDOWN: return seekButtonDown(window, lParam);
    case WM_MOUSEMOVE: return seekMouseMove(window, wParam, lParam);
    case WM_LBUTTONUP: return seekButtonUp(window, lParam);
    case WM_CAPTURECHANGED: return seekCaptureLost(window);
  }
  return passOn(window, message, wParam, lParam);
}

// --- volume bar ---

LRESULT paintVolumeBar(HWND window) {
  const GdiResources& r = gdiResources();
  ShellState& s = shellState();
  s.volumeShown = s.volumeLeft > s.volumeRight ? s.volumeLeft : s.volumeRight;
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window, &paint);
  {
    Selected pen(dc, r.facePen);
    Selected brush(dc, r.faceBrush);
    Rectangle(dc, 0, 0, kVolumeBarWidth, kVolumeBarHeight);
    SelectObject(dc, r.darkShadowPen);
    MoveToEx(dc, 2, 0, nullptr);
    LineTo(dc, 2, 24);
    SelectObject(dc, r.highlightPen);
    LineTo(dc, 3, 25);
    MoveToEx(dc, 3, 24, nullptr);
    LineTo(dc, 3, -1);
  }
  drawButtonFace(dc, 0, volumeKnobY(s.volumeShown), kVolumeBarWidth, kVolumeKnobHeight, true);
  EndPaint(window, &paint);
  return 0;
}

void setVolumeFromPointer(LPARAM lParam) {
  const int32_t level = volumeAtY(volumePointerY(HIWORD(lParam)));
  engineSetVolume(level, level);
  readVolumeBack();
  invalidateVolumeBar();
}

LRESULT volumeButtonDown(HWND window, LPARAM lParam) {
  setVolumeFromPointer(lParam);
  SetCapture(window);
  return 0;
}

LRESULT volumeMouseMove(WPARAM keys, LPARAM lParam) {
  if ((keys & MK_LBUTTON) != 0) setVolumeFromPointer(lParam);
  return 0;
}

LRESULT volumeButtonUp(HWND window) {
  if (GetCapture() == window) ReleaseCapture();
  return 0;
}

LRESULT CALLBACK volumeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: return paintVolumeBar(window);
    case WM_LBUTTONDOWN: return volumeButtonDown(window, lParam);
    case WM_MOUSEMOVE: return volumeMouseMove(wParam, lParam);
    case WM_LBUTTONUP: return volumeButtonUp(window);
  }
  return passOn(window, message, wParam, lParam);
}

}  // namespace

void installControlProcedures() {
  ShellState& s = shellState();
  gSubclassedCount = 0;
  subclass(s.titleDisplay, titleProc);
  subclass(s.seekBar, seekProc);
  subclass(s.volumeBar, volumeProc);
  for (HWND button : s.buttons) subclass(button, buttonProc);
}

void removeControlProcedures() {
  for (int i = 0; i < gSubclassedCount; ++i) {
    SetWindowLongPtrA(gSubclassed[i].window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gSubclassed[i].previous));
  }
  gSubclassedCount = 0;
}

void subclassCheckBox(HWND checkBox) {
  gCheckBox.window = checkBox;
  gCheckBox.previous =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrA(checkBox, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(buttonProc)));
}

void drawOwnedButton(const DRAWITEMSTRUCT& item) {
  const ShellState& s = shellState();
  if (item.hwndItem == s.closeButton && !s.closeButtonShown) return;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const RECT& r = item.rcItem;
  drawButtonFace(item.hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, !pressed);
  const int offset = pressed ? 3 : 2;
  drawGlyph(item.hDC, r.left + offset, r.top + offset, buttonGlyph(item.CtlID, pressed), SRCAND);
}

void setTitleText(const char* text) {
  ShellState& s = shellState();
  const std::string cut = cutText(text, kTitleTextMaxBytes);
  if (std::strcmp(cut.c_str(), s.titleText) == 0) return;
  std::memcpy(s.titleText, cut.c_str(), cut.size() + 1);
  InvalidateRect(s.titleDisplay, nullptr, FALSE);
}

void invalidateSeekBar() {
  const ShellState& s = shellState();
  const RECT area{0, 0, s.seekWidth, kSeekBarHeight};
  InvalidateRect(s.seekBar, &area, FALSE);
}

void invalidateVolumeBar() {
  const RECT area{0, 0, kVolumeBarWidth, kVolumeBarHeight};
  InvalidateRect(shellState().volumeBar, &area, FALSE);
}

}  // namespace orva

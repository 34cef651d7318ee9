// The lyrics window: three statics over a back buffer that holds the face,
// the grip strip and the bevel, painted by copying the buffer.
#include "shell/lyrics_window.h"

#include <cstring>

#include "orva_engine.h"
#include "resources/resource_ids.h"
#include "shell/gdi_resources.h"
#include "shell/gdi_scope.h"
#include "shell/menus.h"
#include "shell/shell_state.h"

namespace orva {

namespace {

constexpr int kLineCount = 3;
constexpr int kLineX = 18;
constexpr int kLineY[kLineCount] = {4, 36, 68};
constexpr int kFirstLineWidth = 150;
constexpr int kFirstLineHeight = 30;
constexpr int kLineHeight = 32;
constexpr int kFontHeight = 20;
constexpr int kFirstBufferSize = 500;
constexpr Glyph kGripGlyph{20, 113, 10, 20};
constexpr size_t kShownBytes = 260;

// One lyrics window per process.
struct LyricsView {
  HWND lines[kLineCount] = {};
  HFONT normalFont = nullptr;
  HFONT heavyFont = nullptr;
  HDC buffer = nullptr;
  HBITMAP bufferBitmap = nullptr;
  HGDIOBJ previousBitmap = nullptr;
  SIZE size{0, 0};
  char shown[kLineCount][kShownBytes] = {};
};
LyricsView gView;

HFONT lyricsFont(int weight) {
  return CreateFontA(kFontHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, PROOF_QUALITY, FIXED_PITCH | FF_MODERN, "ＭＳ ゴシック");
}

void freeBuffer() {
  if (gView.buffer != nullptr) {
    SelectObject(gView.buffer, gView.previousBitmap);
    DeleteDC(gView.buffer);
  }
  if (gView.bufferBitmap != nullptr) DeleteObject(gView.bufferBitmap);
  gView.buffer = nullptr;
  gView.bufferBitmap = nullptr;
}

void makeBuffer(HWND window, int width, int height) {
  freeBuffer();
  const HDC dc = GetDC(window);
  gView.buffer = CreateCompatibleDC(dc);
  gView.bufferBitmap = CreateCompatibleBitmap(dc, width, height);
  ReleaseDC(window, dc);
  gView.previousBitmap = SelectObject(gView.buffer, gView.bufferBitmap);
}

// The face, the grip strip with its mark, and the raised bevel.
void drawBackground(int width, int height) {
  const GdiResources& r = gdiResources();
  const HDC dc = gView.buffer;
  {
    Selected pen(dc, r.facePen);
    Selected brush(dc, r.faceBrush);
    Rectangle(dc, 0, 0, width, height);
  }
  drawCaptionStrip(dc, 3, 3, 10, height - 3);
  drawGlyph(dc, 3, 3, kGripGlyph, SRCPAINT);
  drawFrame3d(dc, 0, 0, width, height, true);
}

// Text between "[" and the next "]" is a time stamp, not lyrics; an open
// "[" cuts the rest.
void removeStamps(const char* text, char* out, size_t size) {
  size_t used = 0;
  const char* p = text;
  while (*p != '\0') {
    const char* next = CharNextA(p);
    if (*p == '[') {
      // Whole characters to the ']': a trail byte 0x5D is none.
      while (*next != '\0' && *next != ']') next = CharNextA(next);
      if (*next == '\0') break;
      p = CharNextA(next);
      continue;
    }
    const size_t bytes = static_cast<size_t>(next - p);
    if (used + bytes >= size) break;
    std::memcpy(out + used, p, bytes);
    used += bytes;
    p = next;
  }
  out[used] = '\0';
}

void showLine(int line, const char* text) {
  char trimmed[kShownBytes] = {};
  std::strncpy(trimmed, text, sizeof trimmed - 1);
  // An entry keeps the line feed that ended its line in the file; a line
  // cut at the entry's size has none, and keeps its last character.
  const size_t length = std::strlen(trimmed);
  if (length > 0 && trimmed[length - 1] == '\n') trimmed[length - 1] = '\0';
  if (std::strcmp(trimmed, gView.shown[line]) == 0) return;
  std::memcpy(gView.shown[line], trimmed, sizeof trimmed);
  char visible[kShownBytes];
  removeStamps(trimmed, visible, sizeof visible);
  SetWindowTextA(gView.lines[line], visible);
}

LRESULT onCreate(HWND window) {
  const HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  for (int line = 0; line < kLineCount; ++line) {
    const DWORD extended = line == 0 ? WS_EX_TRANSPARENT : 0;
    gView.lines[line] = CreateWindowExA(
        extended, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX, kLineX,
        kLineY[line], kFirstLineWidth, kFirstLineHeight, window, nullptr, instance, nullptr);
    gView.shown[line][0] = '\0';
  }
  gView.normalFont = lyricsFont(FW_NORMAL);
  gView.heavyFont = lyricsFont(FW_HEAVY);
  for (int line = 0; line < kLineCount; ++line) {
    const HFONT font = line == 1 ? gView.heavyFont : gView.normalFont;
    SendMessageA(gView.lines[line], WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  gView.size = SIZE{0, 0};
  makeBuffer(window, kFirstBufferSize, kFirstBufferSize);
  return 0;
}

LRESULT onSize(HWND window, LPARAM lParam) {
  const int width = LOWORD(lParam);
  const int height = HIWORD(lParam);
  if (width == gView.size.cx && height == gView.size.cy) return 0;
  gView.size = SIZE{width, height};
  for (HWND line : gView.lines) {
    SetWindowPos(line, nullptr, 0, 0, width - 20, kLineHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  makeBuffer(window, width, height);
  drawBackground(width, height);
  InvalidateRect(window, nullptr, FALSE);
  return 0;
}

LRESULT onPaint(HWND window) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window, &paint);
  BitBlt(dc, 0, 0, gView.size.cx, gView.size.cy, gView.buffer, 0, 0, SRCCOPY);
  EndPaint(window, &paint);
  return 0;
}

LRESULT onStaticColour(HDC dc) {
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(gdiResources().faceBrush);
}

// The window drags the player like the main window's own surface.
LRESULT forwardToMainWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND main = shellState().mainWindow;
  POINT p{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
  MapWindowPoints(window, main, &p, 1);
  return SendMessageA(main, message, wParam, MAKELPARAM(p.x, p.y));
}

LRESULT onRightButtonUp() {
  popUpMainMenu();
  return 0;
}

LRESULT onDestroy() {
  freeBuffer();
  if (gView.normalFont != nullptr) DeleteObject(gView.normalFont);
  if (gView.heavyFont != nullptr) DeleteObject(gView.heavyFont);
  gView = LyricsView{};
  return 0;
}

}  // namespace

LRESULT CALLBACK lyricsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: return onCreate(window);
    case WM_SIZE: return onSize(window, lParam);
    case WM_CLOSE: return 0;  // only ever hidden
    case WM_PAINT: return onPaint(window);
    case WM_ERASEBKGND: return 1;
    case WM_CTLCOLORSTATIC: return onStaticColour(reinterpret_cast<HDC>(wParam));
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return forwardToMainWindow(window, message, wParam, lParam);
    case WM_RBUTTONUP: return onRightButtonUp();
    case WM_APPCOMMAND: return SendMessageA(shellState().mainWindow, message, wParam, lParam);
    case WM_DESTROY: return onDestroy();
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void clearLyricLines() {
  for (int line = 0; line < kLineCount; ++line) {
    gView.shown[line][0] = '\0';
    if (gView.lines[line] != nullptr) SetWindowTextA(gView.lines[line], "");
  }
}

void updateLyricLines() {
  LyricWindow lyrics{};
  getLyricWindow(&lyrics);
  showLine(0, lyrics.previous1);
  showLine(1, lyrics.current);
  showLine(2, lyrics.next1);
}

}  // namespace orva

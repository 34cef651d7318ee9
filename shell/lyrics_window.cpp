// The lyrics window's procedure.
#include "shell/lyrics_window.h"

#include "shell/gdi_resources.h"

namespace orva {

namespace {

LRESULT paintLyrics(HWND window) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, gdiResources().faceBrush);
  drawFrame3d(dc, 0, 0, client.right, client.bottom, true);
  EndPaint(window, &paint);
  return 0;
}

}  // namespace

LRESULT CALLBACK lyricsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: return paintLyrics(window);
    case WM_ERASEBKGND: return 1;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace orva

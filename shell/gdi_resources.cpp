// Pens, brushes, the font, the bevel and the glyph sheet, shared by every
// piece of the shell that paints.
#include "shell/gdi_resources.h"

#include "resources/resource_ids.h"
#include "shell/gdi_scope.h"
#include "shell/shell_state.h"

namespace orva {

namespace {

GdiResources gResources;
HFONT gUiFont = nullptr;

struct GlyphSheet {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;
};
GlyphSheet gSheet;

HPEN systemPen(int colourIndex) { return CreatePen(PS_SOLID, 1, GetSysColor(colourIndex)); }

// A vertex takes each 8-bit component in the high byte of its 16 bits.
TRIVERTEX gradientVertex(COLORREF colour) {
  TRIVERTEX v{};
  v.Red = static_cast<COLOR16>(GetRValue(colour) << 8);
  v.Green = static_cast<COLOR16>(GetGValue(colour) << 8);
  v.Blue = static_cast<COLOR16>(GetBValue(colour) << 8);
  v.Alpha = 0;
  return v;
}

void loadGradientRoutine(GdiResources& r) {
  r.gradientLibrary = LoadLibraryA("msimg32.dll");
  if (r.gradientLibrary == nullptr) return;
  r.gradientFill =
      reinterpret_cast<GradientFillProc>(reinterpret_cast<void*>(GetProcAddress(r.gradientLibrary, "GradientFill")));
  r.gradientTop = gradientVertex(GetSysColor(COLOR_ACTIVECAPTION));
  r.gradientBottom = gradientVertex(GetSysColor(COLOR_GRADIENTACTIVECAPTION));
}

void line(HDC dc, int x0, int y0, int x1, int y1) {
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

// One frame: left edge upward from `leftFrom`, top rightward with `first`;
// right edge downward and bottom leftward with `second`.
void frameLines(HDC dc, HPEN first, HPEN second, int left, int top, int right, int bottom, int leftFrom,
                int bottomEnd) {
  SelectObject(dc, first);
  MoveToEx(dc, left, leftFrom, nullptr);
  LineTo(dc, left, top);
  LineTo(dc, right, top);
  SelectObject(dc, second);
  line(dc, right, top, right, bottom + 1);
  line(dc, right, bottom, bottomEnd, bottom);
}

}  // namespace

GdiResources& gdiResources() { return gResources; }

void createGdiResources() {
  GdiResources& r = gResources;
  r.facePen = systemPen(COLOR_BTNFACE);
  r.faceBrush = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
  r.lightPen = systemPen(COLOR_3DLIGHT);
  r.darkShadowPen = systemPen(COLOR_3DDKSHADOW);
  r.highlightPen = systemPen(COLOR_BTNHIGHLIGHT);
  r.shadowPen = systemPen(COLOR_BTNSHADOW);
  r.activeCaptionBrush = CreateSolidBrush(GetSysColor(COLOR_ACTIVECAPTION));
  r.selectionPen = CreatePen(PS_SOLID, 1, RGB(0, 0, 128));
  r.selectionBrush = CreateSolidBrush(RGB(0, 0, 128));
  r.windowColour = GetSysColor(COLOR_WINDOW);
  r.windowPen = CreatePen(PS_SOLID, 1, r.windowColour);
  r.windowBrush = CreateSolidBrush(r.windowColour);
  loadGradientRoutine(r);
  // The main window's class erases with the face brush; after a system
  // colour change the old brush is gone, so the class takes the new one.
  if (shellState().mainWindow != nullptr) {
    SetClassLongPtrA(shellState().mainWindow, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(r.faceBrush));
  }
}

void destroyGdiResources() {
  GdiResources& r = gResources;
  for (HGDIOBJ object :
       {static_cast<HGDIOBJ>(r.facePen), static_cast<HGDIOBJ>(r.faceBrush), static_cast<HGDIOBJ>(r.lightPen),
        static_cast<HGDIOBJ>(r.darkShadowPen), static_cast<HGDIOBJ>(r.highlightPen), static_cast<HGDIOBJ>(r.shadowPen),
        static_cast<HGDIOBJ>(r.activeCaptionBrush), static_cast<HGDIOBJ>(r.selectionPen),
        static_cast<HGDIOBJ>(r.selectionBrush), static_cast<HGDIOBJ>(r.windowPen),
        static_cast<HGDIOBJ>(r.windowBrush)}) {
    if (object != nullptr) DeleteObject(object);
  }
  if (r.gradientLibrary != nullptr) FreeLibrary(r.gradientLibrary);
  r = GdiResources{};
}

HFONT uiFont() { return gUiFont; }

void createUiFont() {
  gUiFont = CreateFontA(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, PROOF_QUALITY, 49, "ＭＳ Ｐゴシック");
}

void deleteUiFont() {
  if (gUiFont != nullptr) DeleteObject(gUiFont);
  gUiFont = nullptr;
}

void drawFrame3d(HDC dc, int x, int y, int w, int h, bool raised) {
  const GdiResources& r = gResources;
  const HGDIOBJ previous = SelectObject(dc, r.facePen);
  const int right = x + w - 1;
  const int bottom = y + h - 1;
  // The inner left edge starts one pixel higher than its frame's bottom:
  // that corner pixel belongs to the inner bottom line.
  if (raised) {
    frameLines(dc, r.lightPen, r.darkShadowPen, x, y, right, bottom, bottom, x - 1);
    frameLines(dc, r.highlightPen, r.shadowPen, x + 1, y + 1, right - 1, bottom - 1, bottom - 2, x);
  } else {
    frameLines(dc, r.shadowPen, r.highlightPen, x, y, right, bottom, bottom, x - 1);
    frameLines(dc, r.darkShadowPen, r.lightPen, x + 1, y + 1, right - 1, bottom - 1, bottom - 2, x);
  }
  SelectObject(dc, previous);
}

void drawButtonFace(HDC dc, int x, int y, int w, int h, bool raised) {
  const RECT face{x, y, x + w, y + h};
  FillRect(dc, &face, gResources.faceBrush);
  drawFrame3d(dc, x, y, w, h, raised);
}

void drawCaptionStrip(HDC dc, int x, int y, int w, int h) {
  const GdiResources& r = gResources;
  if (r.gradientFill == nullptr) {
    const RECT strip{x, y, x + w, y + h};
    FillRect(dc, &strip, r.activeCaptionBrush);
    return;
  }
  TRIVERTEX vertices[2] = {r.gradientTop, r.gradientBottom};
  vertices[0].x = x;
  vertices[0].y = y;
  vertices[1].x = x + w;
  vertices[1].y = y + h;
  GRADIENT_RECT rect{0, 1};
  r.gradientFill(dc, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

Glyph playModeGlyph(int32_t mode) {
  if (mode < 0 || mode > 3) mode = 3;
  return Glyph{0, 121 + 7 * mode, 20, 7};
}

bool loadGlyphSheet(HINSTANCE instance, HWND window) {
  gSheet.bitmap = static_cast<HBITMAP>(LoadImageA(instance, IDR_MAINBMP, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  if (gSheet.bitmap == nullptr) return false;
  const HDC windowDc = GetDC(window);
  gSheet.dc = CreateCompatibleDC(windowDc);
  ReleaseDC(window, windowDc);
  gSheet.previous = SelectObject(gSheet.dc, gSheet.bitmap);
  return true;
}

void freeGlyphSheet() {
  if (gSheet.dc != nullptr) {
    SelectObject(gSheet.dc, gSheet.previous);
    DeleteDC(gSheet.dc);
  }
  if (gSheet.bitmap != nullptr) DeleteObject(gSheet.bitmap);
  gSheet = GlyphSheet{};
}

void drawGlyph(HDC dc, int x, int y, const Glyph& glyph, DWORD rasterOp) {
  if (gSheet.dc == nullptr) return;
  BitBlt(dc, x, y, glyph.w, glyph.h, gSheet.dc, glyph.x, glyph.y, rasterOp);
}

void paintMainWindow(HWND window) {
  const GdiResources& r = gResources;
  RECT windowRect;
  RECT client;
  GetWindowRect(window, &windowRect);
  GetClientRect(window, &client);
  const int ww = windowRect.right - windowRect.left;
  const int wh = windowRect.bottom - windowRect.top;
  const int cw = client.right;
  const int ch = client.bottom;

  HDC frameDc = GetWindowDC(window);
  if (frameDc == nullptr) frameDc = GetDC(window);
  drawFrame3d(frameDc, 0, 0, ww, wh, true);
  ReleaseDC(window, frameDc);

  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window, &paint);
  {
    Selected pen(dc, r.facePen);
    const POINT outline[5] = {{2, 2}, {2, wh - 3}, {ww - 3, wh - 3}, {ww - 3, 2}, {2, 2}};
    Polyline(dc, outline, 5);
  }
  if (ch > 47) drawFrame3d(dc, 12, 4, cw - 15, ch - 34, false);
  drawCaptionStrip(dc, 0, 0, 10, ch);
  drawGlyph(dc, 0, 0, kGlyphStripLogo, SRCPAINT);
  EndPaint(window, &paint);
}

}  // namespace orva

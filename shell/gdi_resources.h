// The shell's drawing kit: the shared pens and brushes (GdiResources), the
// one UI font, the two-pixel bevel, button faces, the caption-coloured strip
// and the glyph sheet. Created once at start-up, rebuilt when the system
// colours change, destroyed at shutdown. Window thread only.
#pragma once

#include <windows.h>

#include <cstdint>

namespace orva {

using GradientFillProc = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

struct GdiResources {
  HPEN facePen = nullptr;
  HBRUSH faceBrush = nullptr;
  HPEN lightPen = nullptr;
  HPEN darkShadowPen = nullptr;
  HPEN highlightPen = nullptr;
  HPEN shadowPen = nullptr;
  HBRUSH activeCaptionBrush = nullptr;
  HPEN selectionPen = nullptr;
  HBRUSH selectionBrush = nullptr;
  HPEN windowPen = nullptr;
  HBRUSH windowBrush = nullptr;
  COLORREF windowColour = 0;
  HMODULE gradientLibrary = nullptr;
  GradientFillProc gradientFill = nullptr;  // absent without msimg32
  TRIVERTEX gradientTop{};
  TRIVERTEX gradientBottom{};
};

GdiResources& gdiResources();
void createGdiResources();
void destroyGdiResources();

// "ＭＳ Ｐゴシック", 12 pixels: the buttons, the list and the title line.
HFONT uiFont();
void createUiFont();
void deleteUiFont();

// Two nested one-pixel frames, raised or sunken.
void drawFrame3d(HDC dc, int x, int y, int w, int h, bool raised);
// The face brush over the rectangle, then the bevel.
void drawButtonFace(HDC dc, int x, int y, int w, int h, bool raised);
// The left strip: a vertical caption-colour gradient, or a flat band.
void drawCaptionStrip(HDC dc, int x, int y, int w, int h);

// A place on the glyph sheet "MAINBMP".
struct Glyph {
  int x;
  int y;
  int w;
  int h;
};
inline constexpr Glyph kGlyphPrevious{0, 0, 20, 20};
inline constexpr Glyph kGlyphPlay{0, 20, 20, 20};
inline constexpr Glyph kGlyphPause{0, 40, 20, 20};
inline constexpr Glyph kGlyphStop{0, 60, 20, 20};
inline constexpr Glyph kGlyphNext{0, 80, 20, 20};
inline constexpr Glyph kGlyphListToggle{0, 100, 20, 7};
inline constexpr Glyph kGlyphEqualizerToggle{0, 107, 20, 7};
inline constexpr Glyph kGlyphLyricsToggle{0, 114, 20, 7};
inline constexpr Glyph kGlyphClose{20, 134, 4, 4};
inline constexpr Glyph kGlyphStripLogo{20, 83, 10, 29};
// Play mode m (0..3): 0, 121 + 7m.
Glyph playModeGlyph(int32_t mode);

// The sheet lives in a memory device context for the whole run.
bool loadGlyphSheet(HINSTANCE instance, HWND window);
void freeGlyphSheet();
void drawGlyph(HDC dc, int x, int y, const Glyph& glyph, DWORD rasterOp);

// WM_PAINT of the main window: outer bevel, face outline, the sunken frame
// around the list, and the left strip with its logo.
void paintMainWindow(HWND window);

}  // namespace orva

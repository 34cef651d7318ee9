// The main window's own controls driven with mouse messages and timers on
// the player started in this process: the volume bar, the seek bar, the
// owner-drawn buttons with their pressed look and the close button that
// appears under the pointer, and the strip and colours behind them.
#include <gtest/gtest.h>

#include <functional>

#include "orva_engine.h"
#include "resources/resource_ids.h"
#include "shell/gdi_resources.h"
#include "tests/shell_windows/picture_compare.h"
#include "tests/shell_windows/player_fixture.h"

namespace orva::test {
namespace {

// A pixel of a glyph: the sheet's glyphs are black, the faces light grey.
constexpr int32_t kGlyphDarkness = 150;

class ControlTest : public PlayerTest {
 protected:
  void SetUp() override { parkCursor(); }

  static void parkCursor() { SetCursorPos(1270, 1010); }

  // Mouse words as a control receives them: the bars take off two pixels
  // of border themselves.
  static void leftDown(HWND control, int x, int y) {
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  }
  static void dragTo(HWND control, int x, int y) { SendMessageA(control, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y)); }
  static void hoverTo(HWND control, int x, int y) { SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
  static void leftUp(HWND control, int x, int y) { SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }

  static int32_t leftVolume() {
    int32_t left = -1;
    int32_t right = -1;
    engineGetVolume(&left, &right);
    EXPECT_EQ(left, right);
    return left;
  }

  // What a control looks like on screen once it has painted.
  Picture onScreen(HWND control) {
    UpdateWindow(mainWindow());
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pumpFor(120);
    return captureWindow(control);
  }

  // The main window placed so that the seek bar is `seekWidth` pixels wide.
  void makeSeekBarWide(int32_t seekWidth) {
    SetWindowPos(mainWindow(), HWND_TOP, 200, 200, 300, 150, SWP_SHOWWINDOW);
    const int32_t width = 300 + seekWidth - shell().seekWidth;
    SetWindowPos(mainWindow(), HWND_TOP, 200, 200, width, 150, SWP_SHOWWINDOW);
    ASSERT_EQ(shell().seekWidth, seekWidth);
  }

  // A 60-second track, paused at its start so that nothing moves.
  void startPausedTrack() {
    const std::string song = writeMpeg("song.mp3", 2300);
    startPlayer("\"" + song + "\"");
    ASSERT_EQ(shell().totalSeconds, 60);
    command(IDM_PAUSE);
    ASSERT_TRUE(pumpUntil([this] { return engineStateNow() == ENGINE_PAUSED; }));
  }

  static int32_t positionSeconds() {
    int32_t seconds = -1;
    engineGetState(&seconds);
    return seconds;
  }
};

// --- volume bar ---

using VolumeBarTest = ControlTest;

TEST_F(VolumeBarTest, AClickSetsBothChannelsFromTheTopDown) {
  startPlayer();
  const HWND bar = shell().volumeBar;
  leftDown(bar, 3, 2);  // the knob's top position
  leftUp(bar, 3, 2);
  EXPECT_EQ(leftVolume(), 100);
  EXPECT_EQ(shell().volumeShown, 100);
  leftDown(bar, 3, 23);  // the knob's lowest position
  leftUp(bar, 3, 23);
  EXPECT_EQ(leftVolume(), 0);
  leftDown(bar, 3, 12);
  leftUp(bar, 3, 12);
  // The device keeps levels on its own scale; the bar shows what it reads back.
  EXPECT_EQ(leftVolume(), (21 - 10) * 100 / 21);
  EXPECT_EQ(shell().volumeShown, leftVolume());
  leftDown(bar, 3, 40);  // below the bar
  leftUp(bar, 3, 40);
  EXPECT_EQ(leftVolume(), 0);
  leftDown(bar, 3, 0);  // inside the top border
  leftUp(bar, 3, 0);
  EXPECT_EQ(leftVolume(), 100);
}

TEST_F(VolumeBarTest, DraggingFollowsThePointerOnlyWithTheButtonDown) {
  startPlayer();
  const HWND bar = shell().volumeBar;
  leftDown(bar, 3, 23);
  EXPECT_EQ(GetCapture(), bar);
  dragTo(bar, 3, 12);
  EXPECT_EQ(leftVolume(), 52);
  EXPECT_EQ(shell().volumeShown, leftVolume());
  // Above the bar the captured pointer's word wraps round to a large number.
  dragTo(bar, 3, 0xFFF0);
  EXPECT_EQ(leftVolume(), 100);
  leftUp(bar, 3, 0xFFF0);
  EXPECT_NE(GetCapture(), bar);
  hoverTo(bar, 3, 23);
  EXPECT_EQ(leftVolume(), 100);
}

TEST_F(VolumeBarTest, TheKnobSitsAtTheTopForFullVolumeAndAtTwentyOneForSilence) {
  startPlayer();
  const HWND bar = shell().volumeBar;
  const COLORREF light = GetSysColor(COLOR_3DLIGHT);
  const COLORREF darkShadow = GetSysColor(COLOR_3DDKSHADOW);
  for (const auto& [clickY, knobTop] : {std::pair{2, 0}, std::pair{23, 21}}) {
    leftDown(bar, 3, clickY);
    leftUp(bar, 3, clickY);
    const Picture bar25 = onScreen(bar);
    ASSERT_EQ(bar25.height, 25);
    EXPECT_EQ(bar25.at(0, knobTop), light) << "knob top at " << knobTop;
    EXPECT_EQ(bar25.at(0, knobTop + 3), darkShadow) << "knob bottom at " << knobTop + 3;
    if (knobTop > 0) {
      EXPECT_NE(bar25.at(0, knobTop - 1), light);
    }
  }
}

// --- seek bar ---

using SeekBarTest = ControlTest;

TEST_F(SeekBarTest, IgnoresTheMouseWhileStopped) {
  startPausedTrack();
  makeSeekBarWide(104);
  command(IDM_STOP);
  ASSERT_EQ(engineStateNow(), ENGINE_STOPPED);
  const HWND bar = shell().seekBar;
  leftDown(bar, 52, 4);
  EXPECT_EQ(shell().seekDragX, -1);
  EXPECT_NE(GetCapture(), bar);
  leftUp(bar, 52, 4);
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);
}

TEST_F(SeekBarTest, DraggingShowsTheDraggedTimeAndReleaseSeeksThere) {
  startPausedTrack();
  makeSeekBarWide(104);  // 100 pixels map onto 60 seconds
  const HWND bar = shell().seekBar;
  leftDown(bar, 52, 4);
  EXPECT_EQ(GetCapture(), bar);
  EXPECT_EQ(shell().seekDragX, 50);
  EXPECT_EQ(titleText(), "00:30 song.mp3 [01:00]");
  dragTo(bar, 27, 4);
  EXPECT_EQ(titleText(), "00:15 song.mp3 [01:00]");
  tick();  // the clock does not overwrite the dragged time
  EXPECT_EQ(titleText(), "00:15 song.mp3 [01:00]");
  dragTo(bar, 0xFFFE, 4);  // left of the bar, captured
  EXPECT_EQ(shell().seekDragX, 0);
  EXPECT_EQ(titleText(), "00:00 song.mp3 [01:00]");
  dragTo(bar, 77, 4);
  leftUp(bar, 77, 4);
  EXPECT_NE(GetCapture(), bar);
  EXPECT_EQ(shell().seekDragX, -1);
  EXPECT_EQ(positionSeconds(), 45);
  tick();
  EXPECT_EQ(titleText(), "00:45 song.mp3 [01:00]");
}

TEST_F(SeekBarTest, ReleasingAtTheFarRightSeeksToTheEnd) {
  startPausedTrack();
  makeSeekBarWide(104);
  const HWND bar = shell().seekBar;
  leftDown(bar, 90, 4);
  dragTo(bar, 500, 4);
  EXPECT_EQ(shell().seekDragX, 100);
  EXPECT_EQ(titleText(), "01:00 song.mp3 [01:00]");
  leftUp(bar, 500, 4);
  EXPECT_EQ(positionSeconds(), 60);
}

TEST_F(SeekBarTest, LosingTheCaptureEndsTheDragWithoutSeeking) {
  startPausedTrack();
  makeSeekBarWide(104);
  const HWND bar = shell().seekBar;
  leftDown(bar, 52, 4);
  ASSERT_EQ(shell().seekDragX, 50);
  SetCapture(mainWindow());  // another window takes the mouse
  EXPECT_EQ(shell().seekDragX, -1);
  ReleaseCapture();
  EXPECT_EQ(positionSeconds(), 0);
  tick();
  EXPECT_EQ(titleText(), "00:00 song.mp3 [01:00]");
}

// --- buttons ---

using ButtonTest = ControlTest;

TEST_F(ButtonTest, APressedButtonIsSunkenWithItsGlyphOnePixelLowerRight) {
  startPlayer();
  SetWindowPos(mainWindow(), HWND_TOP, 200, 200, 300, 150, SWP_SHOWWINDOW);
  const HWND play = shell().buttons[kButtonPlay];
  const Picture raised = onScreen(play);
  SendMessageA(play, BM_SETSTATE, TRUE, 0);
  const Picture pressed = onScreen(play);
  SendMessageA(play, BM_SETSTATE, FALSE, 0);
  ASSERT_EQ(raised.width, 25);
  ASSERT_EQ(pressed.width, 25);

  EXPECT_EQ(raised.at(0, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(raised.at(1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(raised.at(24, 24), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(pressed.at(0, 0), GetSysColor(COLOR_BTNSHADOW));
  EXPECT_EQ(pressed.at(1, 1), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(pressed.at(24, 24), GetSysColor(COLOR_BTNHIGHLIGHT));

  const RECT inside{2, 2, 23, 23};
  const RECT up = darkPixelBounds(raised, inside, kGlyphDarkness);
  const RECT down = darkPixelBounds(pressed, inside, kGlyphDarkness);
  ASSERT_LT(up.left, up.right) << "no glyph on the play button";
  EXPECT_EQ(down.left, up.left + 1);
  EXPECT_EQ(down.top, up.top + 1);
  EXPECT_EQ(down.right, up.right + 1);
  EXPECT_EQ(down.bottom, up.bottom + 1);
}

// The glyph's black pixels in `picture` at (x, y), as a mask.
std::vector<bool> glyphMask(const Picture& picture, int x, int y, int w, int h) {
  std::vector<bool> mask;
  for (int row = y; row < y + h; ++row) {
    for (int column = x; column < x + w; ++column) {
      const COLORREF c = picture.at(column, row);
      mask.push_back(GetRValue(c) + GetGValue(c) + GetBValue(c) < kGlyphDarkness);
    }
  }
  return mask;
}

TEST_F(ButtonTest, TheModeButtonShowsThePlayModeAndTheWordModeWhilePressed) {
  startPlayer();
  SetWindowPos(mainWindow(), HWND_TOP, 200, 200, 300, 150, SWP_SHOWWINDOW);
  const HWND mode = shell().buttons[kButtonMode];
  const auto sheetGlyph = [](int32_t playMode) {
    const Glyph g = playModeGlyph(playMode);
    return glyphMask(renderInMemory(g.w, g.h, RGB(255, 255, 255), [&](HDC dc) { drawGlyph(dc, 0, 0, g, SRCCOPY); }), 0,
                     0, g.w, g.h);
  };
  for (int32_t playMode = 0; playMode < 3; ++playMode) {
    shell().playMode = playMode;
    EXPECT_EQ(glyphMask(onScreen(mode), 2, 2, 20, 7), sheetGlyph(playMode)) << "play mode " << playMode;
  }
  SendMessageA(mode, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(glyphMask(onScreen(mode), 3, 3, 20, 7), sheetGlyph(3));
  EXPECT_NE(sheetGlyph(3), sheetGlyph(2));
  SendMessageA(mode, BM_SETSTATE, FALSE, 0);
}

TEST_F(ButtonTest, TheCloseButtonAppearsOnlyWhileThePointerIsInTheTopLeftCorner) {
  startPlayer();
  SetWindowPos(mainWindow(), HWND_TOP, 200, 200, 300, 150, SWP_SHOWWINDOW);
  const HWND close = shell().closeButton;
  const auto pointAt = [&](int x, int y) {
    POINT p{x, y};
    ClientToScreen(mainWindow(), &p);
    SetCursorPos(p.x, p.y);
    SendMessageA(mainWindow(), WM_TIMER, IDT_FAST_TICK, 0);
  };
  pointAt(5, 5);
  EXPECT_EQ(shell().closeButtonShown, 1);
  EXPECT_TRUE(IsWindowVisible(close));
  const Picture shown = onScreen(close);
  ASSERT_EQ(shown.width, 9);
  EXPECT_EQ(shown.at(0, 0), GetSysColor(COLOR_3DLIGHT));
  EXPECT_EQ(shown.at(8, 8), GetSysColor(COLOR_3DDKSHADOW));
  const RECT mark = darkPixelBounds(shown, RECT{2, 2, 7, 7}, kGlyphDarkness);
  EXPECT_LT(mark.left, mark.right) << "no close mark";

  pointAt(9, 9);
  EXPECT_TRUE(IsWindowVisible(close));
  pointAt(10, 5);
  EXPECT_EQ(shell().closeButtonShown, 0);
  EXPECT_FALSE(IsWindowVisible(close));
  pointAt(5, 0);
  EXPECT_FALSE(IsWindowVisible(close));
  pointAt(1, 1);
  EXPECT_TRUE(IsWindowVisible(close));
  pointAt(150, 60);
  EXPECT_FALSE(IsWindowVisible(close));
}

TEST_F(ButtonTest, AHiddenCloseButtonDrawsNothing) {
  startPlayer();
  ASSERT_EQ(shell().closeButtonShown, 0);
  const COLORREF white = RGB(255, 255, 255);
  const Picture drawn = renderInMemory(9, 9, white, [&](HDC dc) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = IDC_CLOSE;
    item.itemAction = ODA_DRAWENTIRE;
    item.hwndItem = shell().closeButton;
    item.hDC = dc;
    item.rcItem = RECT{0, 0, 9, 9};
    SendMessageA(mainWindow(), WM_DRAWITEM, IDC_CLOSE, reinterpret_cast<LPARAM>(&item));
  });
  for (COLORREF c : drawn.pixels) ASSERT_EQ(c, white);
}

// --- strip and colours ---

using DrawingTest = ControlTest;

TEST_F(DrawingTest, TheStripRunsFromTheCaptionColourDownToTheGradientColour) {
  startPlayer();
  GdiResources& r = gdiResources();
  ASSERT_NE(r.gradientFill, nullptr) << "msimg32's GradientFill is missing";
  const TRIVERTEX top = r.gradientTop;
  const TRIVERTEX bottom = r.gradientBottom;
  // The prefix's two caption colours are alike; distinct ones show the way.
  r.gradientTop.Red = 0;
  r.gradientTop.Green = 0;
  r.gradientTop.Blue = 0xFF00;
  r.gradientBottom.Red = 0xFF00;
  r.gradientBottom.Green = 0;
  r.gradientBottom.Blue = 0;
  const Picture strip = renderInMemory(10, 100, RGB(0, 255, 0), [](HDC dc) { drawCaptionStrip(dc, 0, 0, 10, 100); });
  r.gradientTop = top;
  r.gradientBottom = bottom;
  EXPECT_GE(GetBValue(strip.at(5, 0)), 245);
  EXPECT_LE(GetRValue(strip.at(5, 0)), 10);
  EXPECT_GE(GetRValue(strip.at(5, 99)), 245);
  EXPECT_LE(GetBValue(strip.at(5, 99)), 10);
  EXPECT_NEAR(GetRValue(strip.at(0, 50)), 128, 8);
  EXPECT_EQ(strip.at(0, 50), strip.at(9, 50));
  EXPECT_EQ(GetGValue(strip.at(5, 50)), 0);
}

TEST_F(DrawingTest, WithoutTheGradientRoutineTheStripIsFlat) {
  startPlayer();
  GdiResources& r = gdiResources();
  const GradientFillProc routine = r.gradientFill;
  r.gradientFill = nullptr;
  const Picture strip = renderInMemory(12, 40, RGB(0, 255, 0), [](HDC dc) { drawCaptionStrip(dc, 1, 0, 10, 40); });
  r.gradientFill = routine;
  const COLORREF caption = GetSysColor(COLOR_ACTIVECAPTION);
  EXPECT_EQ(strip.at(1, 0), caption);
  EXPECT_EQ(strip.at(10, 39), caption);
  EXPECT_EQ(strip.at(0, 20), RGB(0, 255, 0));
  EXPECT_EQ(strip.at(11, 20), RGB(0, 255, 0));
}

// The UI font asks for "ＭＳ Ｐゴシック"; the test prefix maps it to IPA's
// proportional gothic. cp932 text through the A functions must come out as
// the same characters the wide functions draw in that font.
Picture drawnText(HFONT font, const std::function<void(HDC, RECT&)>& draw) {
  return renderInMemory(160, 14, RGB(255, 255, 255), [&](HDC dc) {
    const HGDIOBJ previous = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    RECT area{0, 0, 160, 14};
    draw(dc, area);
    SelectObject(dc, previous);
  });
}

HFONT gothic(const wchar_t* face) {
  return CreateFontW(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, PROOF_QUALITY, 49, face);
}

TEST_F(DrawingTest, JapaneseTextsDrawInTheProportionalGothic) {
  startPlayer();
  ASSERT_NE(uiFont(), nullptr);
  const Picture asTitled = drawnText(
      uiFont(), [](HDC dc, RECT& area) { DrawTextA(dc, "能登 - ソフトな表現 [Mix]", -1, &area, DT_NOPREFIX); });
  const HFONT proportional = gothic(L"IPAPGothic");
  const HFONT fixed = gothic(L"IPAGothic");
  const auto wide = [](HDC dc, RECT& area) { DrawTextW(dc, L"能登 - ソフトな表現 [Mix]", -1, &area, DT_NOPREFIX); };
  const Picture expected = drawnText(proportional, wide);
  const Picture fixedPitch = drawnText(fixed, wide);
  DeleteObject(proportional);
  DeleteObject(fixed);

  const RECT all{0, 0, 160, 14};
  const RECT inked = darkPixelBounds(asTitled, all, 3 * 128);
  EXPECT_GT(inked.right - inked.left, 100) << "the text did not draw";
  EXPECT_EQ(comparePictures(expected, asTitled, 0).differingPixels, 0);
  EXPECT_GT(comparePictures(fixedPitch, asTitled, 0).differingPixels, 0) << "the fixed-pitch face draws alike";
}

TEST_F(DrawingTest, ASystemColourChangeLeavesTheWindowALiveBackgroundBrush) {
  startPlayer();
  SendMessageA(mainWindow(), WM_SYSCOLORCHANGE, 0, 0);
  const auto background = reinterpret_cast<HBRUSH>(GetClassLongPtrA(mainWindow(), GCLP_HBRBACKGROUND));
  EXPECT_EQ(background, gdiResources().faceBrush);
  EXPECT_EQ(GetObjectType(background), static_cast<DWORD>(OBJ_BRUSH));
}

}  // namespace
}  // namespace orva::test

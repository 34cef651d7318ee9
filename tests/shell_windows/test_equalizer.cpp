// The equalizer window: what its sliders, box, buttons and presets send to
// the decoder and when, the values it keeps in the settings file, and its
// place under the main window.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cmath>
#include <string>

#include "decoder/decoder_state.h"
#include "orva_engine.h"
#include "platform/profile_file.h"
#include "resources/resource_ids.h"
#include "shell/rules/eq_presets.h"
#include "tests/shell_windows/player_fixture.h"

namespace orva::test {
namespace {

constexpr int kBandIds[kEqualizerBands] = {IDC_EQ_BAND1, IDC_EQ_BAND2, IDC_EQ_BAND3, IDC_EQ_BAND4, IDC_EQ_BAND5,
                                           IDC_EQ_BAND6, IDC_EQ_BAND7, IDC_EQ_BAND8, IDC_EQ_BAND9, IDC_EQ_BAND10};
// The first of the decoder's 32 subbands that each band drives.
constexpr int kBandFirstSubband[kEqualizerBands] = {0, 1, 2, 3, 4, 5, 6, 8, 12, 20};
constexpr int kFullBass = 7;

class EqualizerTest : public PlayerTest {
 protected:
  HWND panel() { return shell().equalizerWindow; }
  HWND slider(int band) { return GetDlgItem(panel(), kBandIds[band]); }
  int32_t position(int band) { return static_cast<int32_t>(SendMessageA(slider(band), TBM_GETPOS, 0, 0)); }
  bool boxTicked() { return IsDlgButtonChecked(panel(), IDC_EQ_ENABLE) == BST_CHECKED; }
  void panelCommand(int id) { SendMessageA(panel(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
  void setBox(bool on) {
    CheckDlgButton(panel(), IDC_EQ_ENABLE, on ? BST_CHECKED : BST_UNCHECKED);
    panelCommand(IDC_EQ_ENABLE);
  }
  void choosePreset(int index) { panelCommand(IDM_EQ_PRESET_FIRST + index); }

  // What the decoder was last given.
  static bool decoderEqualizerOn() { return gDecoder.equalizer.on != 0; }
  static float bandGain(int band) { return gDecoder.equalizer.gains[kBandFirstSubband[band]]; }
  static float gainFor(int32_t bandValue) { return static_cast<float>(std::pow(10.0, bandValue / 200.0)); }
  void expectDecoderBands(const int32_t (&values)[kEqualizerBands]) {
    EXPECT_TRUE(decoderEqualizerOn());
    for (int b = 0; b < kEqualizerBands; ++b) EXPECT_FLOAT_EQ(bandGain(b), gainFor(values[b])) << "band " << b + 1;
  }

  void writeSettings(const std::string& text) {
    writeFileBytes(file("orva.ini"), std::vector<uint8_t>(text.begin(), text.end()));
  }
  int32_t storedValue(const char* key) {
    platform::ProfileFile ini;
    EXPECT_TRUE(ini.load(file("orva.ini").c_str()));
    return ini.getInt("Equalizer", key, -12345);
  }

  int32_t playingSecond() {
    int32_t seconds = -1;
    return engineGetState(&seconds) == ENGINE_PLAYING ? seconds : -1;
  }
};

// A pop-up menu seen from inside its modal loop: a timer looks at it, then
// closes it.
struct MenuSeen {
  HMENU menu = nullptr;
  RECT rect{};
};
MenuSeen gMenuSeen;

void CALLBACK lookAtMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  const HWND menuWindow = FindWindowA("#32768", nullptr);
  if (menuWindow == nullptr || !IsWindowVisible(menuWindow)) return;
  KillTimer(nullptr, timer);
  gMenuSeen.menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
  GetWindowRect(menuWindow, &gMenuSeen.rect);
  EndMenu();
}

// Sends `message` to `window`; returns when the menu it opened was closed.
MenuSeen menuOpenedBy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  gMenuSeen = MenuSeen{};
  SetTimer(nullptr, 0, 50, lookAtMenu);
  SendMessageA(window, message, wParam, lParam);
  return gMenuSeen;
}

std::string menuText(HMENU menu, int position) {
  char text[64] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

void presetValues(int index, int32_t (&values)[kEqualizerBands]) {
  for (int b = 0; b < kEqualizerBands; ++b)
    values[b] = bandValueAt(presetSliderPosition(equalizerPreset(index).codes[b]));
}

TEST_F(EqualizerTest, AFirstStartHasCentredSlidersAndTheEqualizerOff) {
  startPlayer();
  ASSERT_NE(panel(), nullptr);
  for (int b = 0; b < kEqualizerBands; ++b) {
    EXPECT_EQ(position(b), kEqualizerSliderCentre) << b;
    EXPECT_EQ(SendMessageA(slider(b), TBM_GETRANGEMAX, 0, 0), kEqualizerSliderMax);
  }
  EXPECT_FALSE(boxTicked());
  EXPECT_FALSE(decoderEqualizerOn());
  EXPECT_FALSE(GetWindowLongA(GetDlgItem(panel(), IDC_EQ_WRITE), GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(GetWindowLongA(GetDlgItem(panel(), IDC_EQ_LOAD), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(EqualizerTest, APresetWhileOffMovesTheSlidersOnlyAndTheBoxThenSendsIt) {
  startPlayer();
  float before[32];
  std::copy(std::begin(gDecoder.equalizer.gains), std::end(gDecoder.equalizer.gains), before);
  // A status that a restart would overwrite with "not playing".
  ASSERT_EQ(engineGetSystemErrorText(nullptr, 0), -1);
  const int32_t statusBefore = engineGetStatus();
  ASSERT_EQ(statusBefore, ENGINE_ERR_ARGUMENT);

  choosePreset(kFullBass);
  for (int b = 0; b < kEqualizerBands; ++b) {
    EXPECT_EQ(position(b), presetSliderPosition(equalizerPreset(kFullBass).codes[b])) << b;
  }
  EXPECT_FALSE(decoderEqualizerOn());
  for (int k = 0; k < 32; ++k) EXPECT_EQ(gDecoder.equalizer.gains[k], before[k]) << k;
  EXPECT_EQ(engineGetStatus(), statusBefore);  // no restart either

  setBox(true);
  int32_t fullBass[kEqualizerBands];
  presetValues(kFullBass, fullBass);
  expectDecoderBands(fullBass);
  // Nothing plays, so the restart only reports that.
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_NOT_PLAYING);

  setBox(false);
  EXPECT_FALSE(decoderEqualizerOn());
}

TEST_F(EqualizerTest, TheLoadButtonOpensThePresetMenuAtItsCorner) {
  startPlayer();
  command(IDC_EQUALIZER_TOGGLE);
  const MenuSeen seen = menuOpenedBy(panel(), WM_COMMAND, MAKEWPARAM(IDC_EQ_LOAD, BN_CLICKED), 0);
  ASSERT_NE(seen.menu, nullptr);
  RECT button{};
  GetWindowRect(GetDlgItem(panel(), IDC_EQ_LOAD), &button);
  EXPECT_EQ(seen.rect.left, button.left);
  EXPECT_EQ(seen.rect.top, button.top);

  ASSERT_EQ(GetMenuItemCount(seen.menu), 1);
  EXPECT_EQ(menuText(seen.menu, 0), "設定値");
  const HMENU presets = GetSubMenu(seen.menu, 0);
  ASSERT_EQ(GetMenuItemCount(presets), kEqualizerPresetCount);
  for (int i = 0; i < kEqualizerPresetCount; ++i) {
    EXPECT_EQ(GetMenuItemID(presets, i), static_cast<UINT>(IDM_EQ_PRESET_FIRST + i));
    EXPECT_EQ(menuText(presets, i), equalizerPreset(i).name);
  }
}

TEST_F(EqualizerTest, ARightClickOnThePanelOrASliderOpensTheMainMenu) {
  startPlayer();
  command(IDC_EQUALIZER_TOGGLE);
  const HMENU mainMenu = GetSubMenu(shell().menu, POPUP_MAIN);
  EXPECT_EQ(menuOpenedBy(panel(), WM_RBUTTONUP, 0, MAKELPARAM(150, 90)).menu, mainMenu);
  EXPECT_EQ(menuOpenedBy(slider(2), WM_RBUTTONUP, 0, MAKELPARAM(2, 20)).menu, mainMenu);
}

TEST_F(EqualizerTest, ResetWhileOffSendsFlatBands) {
  startPlayer();
  choosePreset(kFullBass);
  panelCommand(IDC_EQ_RESET);
  for (int b = 0; b < kEqualizerBands; ++b) EXPECT_EQ(position(b), kEqualizerSliderCentre) << b;
  const int32_t flat[kEqualizerBands] = {};
  expectDecoderBands(flat);
  EXPECT_FALSE(boxTicked());
}

TEST_F(EqualizerTest, ChangesWhilePlayingRestartAtTheSameSecond) {
  const std::string track = writeMpeg("long.mp3", 600);  // about 15 s
  startPlayer("\"" + track + "\"");
  ASSERT_TRUE(pumpUntil([this] { return playingSecond() >= 2; }, 10000));

  setBox(true);
  choosePreset(kFullBass);
  int32_t fullBass[kEqualizerBands];
  presetValues(kFullBass, fullBass);
  expectDecoderBands(fullBass);
  const int32_t after = playingSecond();
  EXPECT_GE(after, 2);
  EXPECT_LE(after, 4);
  panelCommand(IDC_EQ_RESET);
  EXPECT_GE(playingSecond(), 2);
}

TEST_F(EqualizerTest, StoredValuesAreClampedTickTheBoxAndComeBackAtExit) {
  writeSettings("[Equalizer]\r\nEnable=1\r\nEq1=-50\r\nEq3=130\r\nEq10=7\r\n");
  startPlayer();
  EXPECT_EQ(position(0), 170);
  EXPECT_EQ(position(2), 0);
  EXPECT_EQ(position(9), 113);
  EXPECT_EQ(position(1), kEqualizerSliderCentre);
  EXPECT_TRUE(boxTicked());
  const int32_t loaded[kEqualizerBands] = {-50, 0, 120, 0, 0, 0, 0, 0, 0, 7};
  expectDecoderBands(loaded);

  // Moved without any notification: only the close reads it.
  SendMessageA(slider(4), TBM_SETPOS, TRUE, 60);
  closePlayer();
  EXPECT_EQ(storedValue("Eq1"), -50);
  EXPECT_EQ(storedValue("Eq3"), 120);
  EXPECT_EQ(storedValue("Eq5"), 60);
  EXPECT_EQ(storedValue("Eq2"), 0);
  EXPECT_EQ(storedValue("Eq10"), 7);
  EXPECT_EQ(storedValue("Enable"), 1);
}

TEST_F(EqualizerTest, StoredValuesWithoutEnableStayOffAndAPresetIsKept) {
  writeSettings("[Equalizer]\r\nEq1=30\r\n");
  startPlayer();
  EXPECT_EQ(position(0), 90);
  EXPECT_FALSE(boxTicked());
  EXPECT_FALSE(decoderEqualizerOn());
  choosePreset(kFullBass);
  closePlayer();
  int32_t fullBass[kEqualizerBands];
  presetValues(kFullBass, fullBass);
  for (int b = 0; b < kEqualizerBands; ++b) {
    EXPECT_EQ(storedValue(("Eq" + std::to_string(b + 1)).c_str()), fullBass[b]) << b;
  }
  EXPECT_EQ(storedValue("Enable"), 0);
}

TEST_F(EqualizerTest, KeyboardAndMouseMovesAreHeardWhenTheyEnd) {
  writeSettings("[Equalizer]\r\nEnable=1\r\n");
  startPlayer();
  SetFocus(slider(3));
  key(slider(3), VK_UP);
  EXPECT_EQ(position(3), kEqualizerSliderCentre - 1);
  const int32_t oneUp[kEqualizerBands] = {0, 0, 0, 1, 0, 0, 0, 0, 0, 0};
  expectDecoderBands(oneUp);

  // The end of a move as the slider reports it.
  SendMessageA(slider(6), TBM_SETPOS, TRUE, 200);
  SendMessageA(panel(), WM_VSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider(6)));
  const int32_t twoMoved[kEqualizerBands] = {0, 0, 0, 1, 0, 0, -80, 0, 0, 0};
  expectDecoderBands(twoMoved);

  // A mouse release reads every slider.
  SendMessageA(slider(0), TBM_SETPOS, TRUE, 0);
  SendMessageA(slider(0), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
  const int32_t threeMoved[kEqualizerBands] = {120, 0, 0, 1, 0, 0, -80, 0, 0, 0};
  expectDecoderBands(threeMoved);

  // While off, a move is kept but not sent.
  setBox(false);
  key(slider(9), VK_DOWN);
  EXPECT_FALSE(decoderEqualizerOn());
  setBox(true);
  const int32_t fourMoved[kEqualizerBands] = {120, 0, 0, 1, 0, 0, -80, 0, 0, -1};
  expectDecoderBands(fourMoved);
}

TEST_F(EqualizerTest, TheToggleDocksThePanelUnderTheMainWindowAndDraggingItMovesBoth) {
  startPlayer();
  SetWindowPos(mainWindow(), nullptr, 200, 150, 300, 120, SWP_NOZORDER);
  command(IDC_EQUALIZER_TOGGLE);
  ASSERT_TRUE(IsWindowVisible(panel()));
  RECT main{};
  RECT docked{};
  GetWindowRect(mainWindow(), &main);
  GetWindowRect(panel(), &docked);
  EXPECT_EQ(docked.left, main.left);
  EXPECT_EQ(docked.top, main.bottom);
  EXPECT_EQ(docked.right - docked.left, 180);
  EXPECT_EQ(docked.bottom - docked.top, 110);

  // The controls are laid out in dialog units for the 12-pixel cell of the
  // 9-point font, where they fit the docked panel; the font Wine substitutes
  // has a 13-pixel cell, so in pixels only the width is checked here.
  RECT client{};
  GetClientRect(panel(), &client);
  RECT units{0, 0, 4, 8};
  MapDialogRect(panel(), &units);
  for (HWND child = GetWindow(panel(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, panel(), reinterpret_cast<POINT*>(&r), 2);
    const int id = GetDlgCtrlID(child);
    EXPECT_GE(r.left, 10) << id;  // right of the strip
    EXPECT_LE(r.right, client.right) << id;
    const double designPixelsPerUnitY = 12.0 / 8;
    EXPECT_GE(r.top, 0) << id;
    EXPECT_LE(std::lround(r.bottom * 8.0 / units.bottom * designPixelsPerUnitY), client.bottom) << id;
  }

  // Grabbed on the panel, moved 30 right and 20 down.
  SendMessageA(panel(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 50));
  POINT to{5, 50};
  ClientToScreen(panel(), &to);
  to.x += 30;
  to.y += 20;
  ScreenToClient(mainWindow(), &to);
  SendMessageA(mainWindow(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
  SendMessageA(mainWindow(), WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
  RECT moved{};
  GetWindowRect(mainWindow(), &moved);
  EXPECT_EQ(moved.left, main.left + 30);
  EXPECT_EQ(moved.top, main.top + 20);
  GetWindowRect(panel(), &docked);
  EXPECT_EQ(docked.left, moved.left);
  EXPECT_EQ(docked.top, moved.bottom);

  command(IDC_EQUALIZER_TOGGLE);
  EXPECT_FALSE(IsWindowVisible(panel()));
}

}  // namespace
}  // namespace orva::test

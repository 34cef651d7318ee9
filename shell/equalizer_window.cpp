// The equalizer window from template EQDLG: a modeless dialog whose state
// lives in DWLP_USER, its ten sliders subclassed to hear mouse releases.
// Band values are 120 minus the slider positions, band 1 leftmost.
#include "shell/equalizer_window.h"

#include <commctrl.h>

#include <cstring>
#include <new>

#include "orva_engine.h"
#include "resources/resource_ids.h"
#include "shell/gdi_resources.h"
#include "shell/menus.h"
#include "shell/rules/eq_presets.h"
#include "shell/shell_state.h"

namespace orva {

namespace {

constexpr int kBandIds[kEqualizerBands] = {IDC_EQ_BAND1, IDC_EQ_BAND2, IDC_EQ_BAND3, IDC_EQ_BAND4, IDC_EQ_BAND5,
                                           IDC_EQ_BAND6, IDC_EQ_BAND7, IDC_EQ_BAND8, IDC_EQ_BAND9, IDC_EQ_BAND10};
constexpr char kPresetMenuText[] = "設定値";
// The window's left strip: its logo on the glyph sheet, over the caption band.
constexpr Glyph kGlyphEqualizerStrip{20, 0, 10, 82};
constexpr int kStripWidth = 10;

struct EqualizerWindow {
  HWND dialog = nullptr;
  HWND sliders[kEqualizerBands] = {};
  WNDPROC sliderProcs[kEqualizerBands] = {};
  int32_t bandValues[kEqualizerBands] = {};
  int32_t enabled = 0;
  HMENU loadMenu = nullptr;    // one item, the preset menu
  HMENU presetMenu = nullptr;  // IDM_EQ_PRESET_FIRST + index
};

EqualizerWindow* windowOf(HWND dialog) {
  return reinterpret_cast<EqualizerWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// --- sliders and the engine ---

int32_t sliderPosition(HWND slider) { return static_cast<int32_t>(SendMessageA(slider, TBM_GETPOS, 0, 0)); }
void setSliderPosition(HWND slider, int32_t position) { SendMessageA(slider, TBM_SETPOS, TRUE, position); }

// The slider clamps what it is given, so the values are always read back.
void readBandValues(EqualizerWindow& eq) {
  for (int b = 0; b < kEqualizerBands; ++b) eq.bandValues[b] = bandValueAt(sliderPosition(eq.sliders[b]));
}

// Playback restarts at the same place so the change is heard now rather
// than after the audio already queued at the device.
void sendBandValues(const EqualizerWindow& eq) {
  engineSetEqualizer(eq.bandValues);
  engineRestart();
}

// A mouse release on a slider: whatever moved is heard.
void applySliders(EqualizerWindow& eq) {
  readBandValues(eq);
  if (eq.enabled) sendBandValues(eq);
}

// The end of a move by keyboard or wheel; a mouse release has usually sent
// the same values already, so only a change goes to the engine.
void settleSliders(EqualizerWindow& eq) {
  int32_t before[kEqualizerBands];
  std::memcpy(before, eq.bandValues, sizeof before);
  readBandValues(eq);
  if (std::memcmp(before, eq.bandValues, sizeof before) == 0) return;
  if (eq.enabled) sendBandValues(eq);
}

// --- the main window's menu and mouse ---

// Dragging the panel drags the main window, which reads the point in its
// own client coordinates.
LRESULT forwardToMainWindow(HWND from, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND main = shellState().mainWindow;
  POINT p{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
  MapWindowPoints(from, main, &p, 1);
  return SendMessageA(main, message, wParam, MAKELPARAM(p.x, p.y));
}

LRESULT CALLBACK sliderProc(HWND slider, UINT message, WPARAM wParam, LPARAM lParam) {
  EqualizerWindow& eq = *reinterpret_cast<EqualizerWindow*>(GetWindowLongPtrA(slider, GWLP_USERDATA));
  int band = 0;
  while (band < kEqualizerBands - 1 && eq.sliders[band] != slider) ++band;
  const WNDPROC previous = eq.sliderProcs[band];
  if (message == WM_LBUTTONUP) applySliders(eq);
  if (message == WM_RBUTTONUP) popUpMainMenu();
  const LRESULT result = CallWindowProcA(previous, slider, message, wParam, lParam);
  // The wheel moves the slider without a mouse release to follow.
  if (message == WM_MOUSEWHEEL) settleSliders(eq);
  return result;
}

// --- set-up and shutdown ---

void setUpSliders(EqualizerWindow& eq) {
  for (int b = 0; b < kEqualizerBands; ++b) {
    const HWND slider = GetDlgItem(eq.dialog, kBandIds[b]);
    eq.sliders[b] = slider;
    SetWindowLongPtrA(slider, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&eq));
    eq.sliderProcs[b] =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(slider, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sliderProc)));
    SendMessageA(slider, TBM_SETRANGE, TRUE, MAKELPARAM(0, kEqualizerSliderMax));
    setSliderPosition(slider, kEqualizerSliderCentre);
    SendMessageA(slider, TBM_SETTICFREQ, kEqualizerSliderTickStep, 0);
    eq.bandValues[b] = 0;
  }
}

// Without a settings file everything stays flat and off.
void takeSavedValues(EqualizerWindow& eq) {
  const Settings& saved = shellState().settings;
  if (!saved.saveSettingsEnabled) return;
  for (int b = 0; b < kEqualizerBands; ++b)
    setSliderPosition(eq.sliders[b], sliderPositionFor(saved.equalizerBands[b]));
  if (saved.equalizerEnabled != 1) return;
  CheckDlgButton(eq.dialog, IDC_EQ_ENABLE, BST_CHECKED);
  eq.enabled = 1;
  readBandValues(eq);
  engineSetEqualizer(eq.bandValues);  // nothing plays yet, so no restart
}

void buildMenus(EqualizerWindow& eq) {
  eq.presetMenu = CreatePopupMenu();
  for (int32_t i = 0; i < kEqualizerPresetCount; ++i) {
    AppendMenuA(eq.presetMenu, MF_STRING, IDM_EQ_PRESET_FIRST + i, equalizerPreset(i).name);
  }
  eq.loadMenu = CreatePopupMenu();
  AppendMenuA(eq.loadMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(eq.presetMenu), kPresetMenuText);
}

// The settings writer runs after this window is gone and takes the final
// values from the settings record.
void keepFinalValues(EqualizerWindow& eq) {
  readBandValues(eq);
  Settings& kept = shellState().settings;
  std::memcpy(kept.equalizerBands, eq.bandValues, sizeof kept.equalizerBands);
  kept.equalizerEnabled = eq.enabled;
}

void removeSliderProcedures(EqualizerWindow& eq) {
  for (int b = 0; b < kEqualizerBands; ++b) {
    SetWindowLongPtrA(eq.sliders[b], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(eq.sliderProcs[b]));
  }
}

// --- commands ---

void toggleEqualizer(EqualizerWindow& eq) {
  if (IsDlgButtonChecked(eq.dialog, IDC_EQ_ENABLE) == BST_CHECKED) {
    eq.enabled = 1;
    readBandValues(eq);
    engineSetEqualizer(eq.bandValues);
  } else {
    eq.enabled = 0;
    engineSetEqualizer(nullptr);
  }
  engineRestart();
}

// Flat goes to the engine even while the box is off: it is the way back to
// an unchanged sound whatever state the engine is in.
void resetBands(EqualizerWindow& eq) {
  for (int b = 0; b < kEqualizerBands; ++b) {
    setSliderPosition(eq.sliders[b], kEqualizerSliderCentre);
    eq.bandValues[b] = 0;
  }
  sendBandValues(eq);
}

void showLoadMenu(const EqualizerWindow& eq) {
  RECT button;
  GetWindowRect(GetDlgItem(eq.dialog, IDC_EQ_LOAD), &button);
  TrackPopupMenu(eq.loadMenu, TPM_LEFTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, button.left, button.top, 0, eq.dialog,
                 nullptr);
}

void applyPreset(EqualizerWindow& eq, int32_t index) {
  const EqualizerPreset& preset = equalizerPreset(index);
  for (int b = 0; b < kEqualizerBands; ++b) setSliderPosition(eq.sliders[b], presetSliderPosition(preset.codes[b]));
  applySliders(eq);
}

void onCommand(EqualizerWindow& eq, int id) {
  if (id >= IDM_EQ_PRESET_FIRST && id < IDM_EQ_PRESET_FIRST + IDM_EQ_PRESET_COUNT) {
    applyPreset(eq, id - IDM_EQ_PRESET_FIRST);
    return;
  }
  switch (id) {
    case IDC_EQ_ENABLE: toggleEqualizer(eq); break;
    case IDC_EQ_RESET: resetBands(eq); break;
    case IDC_EQ_LOAD: showLoadMenu(eq); break;
  }
}

// --- the procedure ---

void paintStrip(HWND dialog) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(dialog, &paint);
  RECT client;
  GetClientRect(dialog, &client);
  drawCaptionStrip(dc, 0, 0, kStripWidth, client.bottom);
  drawGlyph(dc, 0, 0, kGlyphEqualizerStrip, SRCPAINT);
  EndPaint(dialog, &paint);
}

INT_PTR onInitDialog(HWND dialog, EqualizerWindow* eq) {
  SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(eq));
  eq->dialog = dialog;
  setUpSliders(*eq);
  takeSavedValues(*eq);
  buildMenus(*eq);
  return TRUE;
}

INT_PTR onDestroy(EqualizerWindow& eq) {
  DestroyMenu(eq.loadMenu);  // takes the preset menu, its submenu, with it
  eq.loadMenu = nullptr;
  eq.presetMenu = nullptr;
  keepFinalValues(eq);
  removeSliderProcedures(eq);
  return FALSE;
}

INT_PTR onNcDestroy(HWND dialog, EqualizerWindow* eq) {
  SetWindowLongPtrA(dialog, DWLP_USER, 0);
  delete eq;
  return FALSE;
}

INT_PTR messageResult(HWND dialog, LRESULT result) {
  SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
  return TRUE;
}

// A move ends (the mouse let go, or a key): the sound follows the sliders.
void onSliderScroll(EqualizerWindow& eq, WORD code) {
  if (code == TB_ENDTRACK || code == TB_THUMBPOSITION) settleSliders(eq);
}

INT_PTR CALLBACK equalizerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return onInitDialog(dialog, reinterpret_cast<EqualizerWindow*>(lParam));
  EqualizerWindow* eq = windowOf(dialog);
  if (eq == nullptr) return FALSE;  // before WM_INITDIALOG
  switch (message) {
    case WM_COMMAND: onCommand(*eq, LOWORD(wParam)); return TRUE;
    case WM_VSCROLL: onSliderScroll(*eq, LOWORD(wParam)); return TRUE;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: return messageResult(dialog, forwardToMainWindow(dialog, message, wParam, lParam));
    case WM_RBUTTONUP: popUpMainMenu(); return TRUE;
    case WM_APPCOMMAND: return messageResult(dialog, SendMessageA(shellState().mainWindow, message, wParam, lParam));
    case WM_PAINT: paintStrip(dialog); return TRUE;
    case WM_DESTROY: return onDestroy(*eq);
    case WM_NCDESTROY: return onNcDestroy(dialog, eq);
  }
  return FALSE;
}

}  // namespace

HWND createEqualizerWindow(HINSTANCE instance, HWND owner) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  EqualizerWindow* eq = new (std::nothrow) EqualizerWindow{};
  if (eq == nullptr) return nullptr;
  const HWND dialog = CreateDialogParamA(instance, IDD_EQUALIZER, owner, equalizerProc, reinterpret_cast<LPARAM>(eq));
  // A dialog that failed never reached WM_INITDIALOG, so the record is still ours.
  if (dialog == nullptr) delete eq;
  return dialog;
}

}  // namespace orva

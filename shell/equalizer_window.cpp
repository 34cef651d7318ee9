// The equalizer window's frame from template EQDLG.
#include "shell/equalizer_window.h"

#include "resources/resource_ids.h"

namespace orva {

namespace {

INT_PTR CALLBACK equalizerProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

}  // namespace

HWND createEqualizerWindow(HINSTANCE instance, HWND owner) {
  return CreateDialogParamA(instance, IDD_EQUALIZER, owner, equalizerProc, 0);
}

}  // namespace orva

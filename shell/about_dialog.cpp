// The about box from template ABOUTDLG; its only button closes it.
#include "shell/about_dialog.h"

#include "resources/resource_ids.h"
#include "shell/shell_state.h"

namespace orva {

namespace {

INT_PTR onCommand(HWND dialog, WORD id) {
  if (id == IDOK || id == IDCANCEL) EndDialog(dialog, id);
  return TRUE;
}

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: shellState().aboutBox = dialog; return TRUE;
    case WM_COMMAND: return onCommand(dialog, LOWORD(wParam));
    case WM_DESTROY: shellState().aboutBox = nullptr; return FALSE;
  }
  return FALSE;
}

}  // namespace

void showAboutBox(HWND owner) {
  ShellState& s = shellState();
  if (s.aboutBox != nullptr) return;
  DialogBoxParamA(s.appInstance, IDD_ABOUT, owner, aboutProc, 0);
}

}  // namespace orva

// Pop-up menus at the cursor.
#include "shell/menus.h"

#include "resources/resource_ids.h"
#include "shell/shell_state.h"

namespace orva {

void popUpMenuAtCursor(int popup, HWND owner, UINT tracking) {
  POINT cursor;
  GetCursorPos(&cursor);
  TrackPopupMenu(GetSubMenu(shellState().menu, popup), tracking, cursor.x, cursor.y, 0, owner, nullptr);
}

void popUpMainMenu() { popUpMenuAtCursor(POPUP_MAIN, shellState().mainWindow, TPM_RIGHTBUTTON); }

}  // namespace orva

// The pop-ups of MYPOPUP at the cursor: the main menu, opened from every
// window of the player with the main window as owner, and the list menu.
#pragma once

#include <windows.h>

namespace orva {

// Pop-up `popup` of MYPOPUP at the cursor, its commands to `owner`.
// `tracking` is TPM_RIGHTBUTTON for a right click, TPM_LEFTBUTTON from the
// tray icon.
void popUpMenuAtCursor(int popup, HWND owner, UINT tracking);
// The main menu, owned by the main window, tracking the right button.
void popUpMainMenu();

}  // namespace orva

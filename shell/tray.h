// The tray icon: added at start-up with the product name as its tip, the
// tip following the entry being played, removed at shutdown; and what its
// clicks do.
#pragma once

#include <windows.h>

namespace orva {

void addTrayIcon();
void removeTrayIcon();
// The icon's callback, by the mouse message it reports: a left click hides
// or shows the player with its docked windows, a right click opens the main
// menu, a middle click opens the mini window.
void onTrayMessage(UINT mouseMessage);

}  // namespace orva

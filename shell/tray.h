// The tray icon: added at start-up with the product name as its tip, the
// tip following the entry being played, removed at shutdown.
#pragma once

namespace orva {

void addTrayIcon();
void removeTrayIcon();

}  // namespace orva

// The mini window: a small transient window from the tray icon with the
// title line, a seek slider and a volume slider. It closes itself as soon
// as it loses activation.
#pragma once

#include <windows.h>

namespace orva {

// Opens one at the cursor (its bottom-right corner there); null on failure.
HWND openMiniWindow(HWND owner);

}  // namespace orva

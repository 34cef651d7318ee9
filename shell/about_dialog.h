// The about box: modal, owned by the main window, never opened twice.
#pragma once

#include <windows.h>

namespace orva {

void showAboutBox(HWND owner);

}  // namespace orva

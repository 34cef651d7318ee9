#include <windows.h>

#include "platform/sleep.h"

namespace orva::platform {

void sleepMs(int32_t milliseconds) { Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0); }

}  // namespace orva::platform

// System facts on Linux and other POSIX systems.
#include "platform/system.h"

namespace orva::platform {

bool isWindowsNt() { return false; }

bool exitMayWait() { return true; }

}  // namespace orva::platform

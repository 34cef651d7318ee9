// System facts on Windows.
#include <windows.h>

#include "platform/system.h"

namespace orva::platform {
namespace {

bool readIsNt() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const BOOL ok = GetVersionExA(&info);
#pragma GCC diagnostic pop
  return ok && info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

}  // namespace

bool isWindowsNt() {
  static const bool nt = readIsNt();
  return nt;
}

bool exitMayWait() { return false; }

}  // namespace orva::platform

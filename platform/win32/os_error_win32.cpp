// The C runtime's and the system's error texts on Windows (see os_error.h):
// GetLastError values through FormatMessageA, in the system's language and
// ANSI code page like every other text of the program.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/os_error.h"

namespace orva::platform {

void recordLastSystemError(const char* api) {
  const DWORD code = GetLastError();
  if (code != ERROR_SUCCESS) recordOsError(OsErrorKind::Win32, static_cast<int32_t>(code), api);
}

bool systemErrnoText(int32_t code, char* buffer, int32_t size) {
  if (buffer == nullptr || size <= 0 || code <= 0) return false;
  return strerror_s(buffer, static_cast<size_t>(size), code) == 0 && buffer[0] != '\0';
}

bool systemWin32Text(int32_t code, char* buffer, int32_t size) {
  if (buffer == nullptr || size <= 0) return false;
  const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                 static_cast<DWORD>(code), 0, buffer, static_cast<DWORD>(size), nullptr);
  if (n == 0) {
    buffer[0] = '\0';
    return false;
  }
  return true;
}

}  // namespace orva::platform

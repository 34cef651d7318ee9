// The C library's and the system's error texts on POSIX (see os_error.h).
// GetLastError values do not occur here.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/os_error.h"

namespace orva::platform {
namespace {

// strerror_r comes in two forms: the GNU one returns the text, the XSI one
// fills the buffer and returns 0.
[[maybe_unused]] const char* pickText(int result, const char* buffer) { return result == 0 ? buffer : nullptr; }
[[maybe_unused]] const char* pickText(const char* result, const char*) { return result; }

}  // namespace

void recordLastSystemError(const char* api) {
  const int code = errno;
  if (code != 0) recordOsError(OsErrorKind::Errno, code, api);
}

bool systemErrnoText(int32_t code, char* buffer, int32_t size) {
  if (buffer == nullptr || size <= 0 || code <= 0) return false;
  char text[256];
  text[0] = '\0';
  const char* found = pickText(strerror_r(code, text, sizeof text), text);
  if (found == nullptr || found[0] == '\0') return false;
  std::snprintf(buffer, static_cast<size_t>(size), "%s", found);
  return true;
}

bool systemWin32Text(int32_t, char*, int32_t) { return false; }

}  // namespace orva::platform

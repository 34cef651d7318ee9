// Win32 paths: GetFullPathNameA folds "." and ".." against the current
// directory, as _fullpath does.
#include <windows.h>

#include "platform/path.h"

namespace orva::platform {

bool isAbsolutePath(const char* path) {
  if (path == nullptr) return false;
  if (path[0] == '\\' || path[0] == '/') return true;
  auto letter = static_cast<unsigned char>(path[0]);
  bool drive = ((letter | 0x20) >= 'a' && (letter | 0x20) <= 'z') && path[1] == ':';
  return drive && (path[2] == '\\' || path[2] == '/');
}

bool makeFullPath(const char* path, char* out, size_t size) {
  if (path == nullptr || out == nullptr || size == 0 || size > 0x7FFFFFFF) return false;
  DWORD n = GetFullPathNameA(path, static_cast<DWORD>(size), out, nullptr);
  return n > 0 && n < size;
}

}  // namespace orva::platform

// Win32 paths: GetFullPathNameA folds "." and ".." against the current
// directory, as _fullpath does. The root- and drive-relative forms are
// resolved here against a given directory instead of the process's, so that
// a play list's entries mean the same whatever directory is current.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/codepage.h"
#include "platform/path.h"

namespace orva::platform {

namespace {

bool isSlash(char c) { return c == '\\' || c == '/'; }

bool hasDriveLetter(const char* path) {
  auto letter = static_cast<unsigned char>(path[0] | 0x20);
  return letter >= 'a' && letter <= 'z' && path[1] == ':';
}

bool isUncPath(const char* path) { return isSlash(path[0]) && isSlash(path[1]); }

bool isRootRelative(const char* path) { return isSlash(path[0]) && !isSlash(path[1]); }

bool isDriveRelative(const char* path) { return hasDriveLetter(path) && !isSlash(path[2]); }

bool sameDrive(const char* a, const char* b) {
  return hasDriveLetter(a) && hasDriveLetter(b) && (a[0] | 0x20) == (b[0] | 0x20);
}

// After the server or share name that starts at `p`: its separator or NUL.
// Steps whole characters, so a trail byte 0x5C stays inside the name.
const char* endOfUncPart(const char* p) {
  while (*p != '\0' && !isSlash(*p)) p = nextChar(p);
  return p;
}

// The length of the drive or share that `directory` lies on ("C:",
// "\\server\share"); 0 when it names neither.
size_t rootLength(const char* directory) {
  if (hasDriveLetter(directory)) return 2;
  if (!isUncPath(directory)) return 0;
  const char* server = endOfUncPart(directory + 2);
  const char* share = *server != '\0' ? endOfUncPart(server + 1) : server;
  return static_cast<size_t>(share - directory);
}

bool join(const char* head, size_t headLength, const char* tail, char* out, size_t size) {
  int n = std::snprintf(out, size, "%.*s%s", static_cast<int>(headLength), head, tail);
  return n >= 0 && static_cast<size_t>(n) < size;
}

bool copyWhole(const char* path, char* out, size_t size) { return join("", 0, path, out, size); }

}  // namespace

bool isAbsolutePath(const char* path) {
  if (path == nullptr) return false;
  return isUncPath(path) || (hasDriveLetter(path) && isSlash(path[2]));
}

bool makeFullPath(const char* path, char* out, size_t size) {
  if (path == nullptr || out == nullptr || size == 0 || size > 0x7FFFFFFF) return false;
  DWORD n = GetFullPathNameA(path, static_cast<DWORD>(size), out, nullptr);
  return n > 0 && n < size;
}

bool resolveInDirectory(const char* path, const char* directory, char* out, size_t size) {
  if (path == nullptr || directory == nullptr || out == nullptr || size == 0) return false;
  if (isAbsolutePath(path)) return copyWhole(path, out, size);
  if (isRootRelative(path)) {
    size_t root = rootLength(directory);
    return root > 0 ? join(directory, root, path, out, size) : copyWhole(path, out, size);
  }
  if (isDriveRelative(path)) {
    // With the directory current, its own drive's current directory is the
    // directory; any other drive keeps the one the system knows for it.
    if (sameDrive(path, directory)) return join(directory, std::strlen(directory), path + 2, out, size);
    return makeFullPath(path, out, size);
  }
  return join(directory, std::strlen(directory), path, out, size);
}

}  // namespace orva::platform

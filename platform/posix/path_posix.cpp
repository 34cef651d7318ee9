// POSIX paths: "/" separates, a leading "/" makes a path absolute. The full
// path is folded lexically like _fullpath (no symbolic links are followed).
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/path.h"

namespace orva::platform {

namespace {

// Appends `part` (length n) to out[0..used) as a new component, folding "."
// and "..". Returns false when the result would not fit.
bool appendComponent(char* out, size_t size, size_t& used, const char* part, size_t n) {
  if (n == 0 || (n == 1 && part[0] == '.')) return true;
  if (n == 2 && part[0] == '.' && part[1] == '.') {
    while (used > 1 && out[used - 1] != '/') --used;
    if (used > 1) --used;  // drop the separator too, but keep the root
    out[used] = '\0';
    return true;
  }
  size_t needed = (used > 1 ? 1 : 0) + n;
  if (size - used <= needed) return false;
  if (used > 1) out[used++] = '/';
  std::memcpy(out + used, part, n);
  used += n;
  out[used] = '\0';
  return true;
}

bool appendPath(char* out, size_t size, size_t& used, const char* path) {
  const char* p = path;
  while (*p != '\0') {
    const char* end = std::strchr(p, '/');
    size_t n = end != nullptr ? static_cast<size_t>(end - p) : std::strlen(p);
    if (!appendComponent(out, size, used, p, n)) return false;
    p += n;
    if (*p == '/') ++p;
  }
  return true;
}

}  // namespace

bool isAbsolutePath(const char* path) { return path != nullptr && path[0] == '/'; }

bool resolveInDirectory(const char* path, const char* directory, char* out, size_t size) {
  if (path == nullptr || directory == nullptr || out == nullptr || size == 0) return false;
  // Backslashes and drive letters are ordinary name bytes here.
  int n = std::snprintf(out, size, "%s%s", isAbsolutePath(path) ? "" : directory, path);
  return n >= 0 && static_cast<size_t>(n) < size;
}

bool makeFullPath(const char* path, char* out, size_t size) {
  if (path == nullptr || out == nullptr || size < 2) return false;
  char cwd[4096];
  if (!isAbsolutePath(path) && getcwd(cwd, sizeof cwd) == nullptr) return false;
  out[0] = '/';
  out[1] = '\0';
  size_t used = 1;
  if (!isAbsolutePath(path) && !appendPath(out, size, used, cwd)) return false;
  return appendPath(out, size, used, path);
}

}  // namespace orva::platform

// Path spelling of the platform: the separator, whether a path is absolute,
// and making a path absolute against the current directory without touching
// the file system beyond learning that directory.
#pragma once

#include <cstddef>

namespace orva::platform {

#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// True when `path` does not depend on the current directory: on Windows a
// drive root ("C:\"), a UNC name or a rooted path ("\x"); on POSIX a leading
// "/".
bool isAbsolutePath(const char* path);

// The absolute form of `path` ("." and ".." folded) into `out`; false when it
// does not fit in `size` bytes or the current directory is unknown.
bool makeFullPath(const char* path, char* out, size_t size);

}  // namespace orva::platform

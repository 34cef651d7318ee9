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

// True when `path` does not depend on the current directory or drive: on
// Windows a path from a drive's root ("C:\x") or a UNC name ("\\server\x");
// on POSIX a leading "/". Windows' root-relative ("\x") and drive-relative
// ("D:x") forms are not absolute.
bool isAbsolutePath(const char* path);

// The path that `path` names when `directory` (absolute, ending in a
// separator, as a play list's folder is kept) is the current directory, into
// `out`; false when it does not fit in `size` bytes. On Windows a
// root-relative path goes to the root of that directory's drive ("C:" or the
// share "\\server\share"), a drive-relative one on the same drive to the
// directory itself and on another drive to that drive's current directory
// (its root when it has none). POSIX has neither form: everything but "/x"
// is joined to the directory, so "\music\a.mp3" or "D:a.mp3" is a name in
// it.
bool resolveInDirectory(const char* path, const char* directory, char* out, size_t size);

// The absolute form of `path` ("." and ".." folded) into `out`; false when it
// does not fit in `size` bytes or the current directory is unknown.
bool makeFullPath(const char* path, char* out, size_t size);

}  // namespace orva::platform

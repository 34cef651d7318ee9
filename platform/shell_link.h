// Shell shortcut (.lnk) targets. Windows resolves them through the shell's
// link object; elsewhere a .lnk file is an ordinary file and has no target.
#pragma once

#include <cstddef>

namespace orva::platform {

// Copies the target path of the link file at `path` to `out` (with its NUL)
// and returns true when the link loads, has a non-empty target and the target
// fits in `size` bytes.
bool readShellLinkTarget(const char* path, char* out, size_t size);

// Saves a link file at `path` pointing to `target`; false where the platform
// has no shell links. Tests make their fixtures with it.
bool writeShellLink(const char* path, const char* target);

}  // namespace orva::platform

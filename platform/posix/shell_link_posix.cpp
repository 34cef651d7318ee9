// Linux has no shell links: a .lnk file is an ordinary file.
#include "platform/shell_link.h"

namespace orva::platform {

bool readShellLinkTarget(const char*, char*, size_t) { return false; }

bool writeShellLink(const char*, const char*) { return false; }

}  // namespace orva::platform

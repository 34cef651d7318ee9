// What each platform tells about its own code page; used by codepage_common.
#pragma once

#include <string>
#include <string_view>

#include "platform/codepage.h"

namespace orva::platform::detail {

CodePage systemCodePage();
// Lead-byte test of the system's own double-byte code page, for code pages
// other than 932 and UTF-8.
bool systemIsLeadByte(unsigned char c);
bool convertText(std::string_view text, bool toTerminal, std::string& out);
// Well-formed UTF-8 into `codePage` (Cp932, SingleByte or System), one '?'
// for each character it cannot hold.
std::string fromUtf8(std::string_view utf8, CodePage codePage);

}  // namespace orva::platform::detail

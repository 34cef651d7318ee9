// Windows: the ANSI code page is the system's (932 for our users) and the
// console already shows cp932, so texts pass through unchanged.
#include <windows.h>

#include "platform/codepage_system.h"

namespace orva::platform::detail {

CodePage systemCodePage() {
  switch (GetACP()) {
    case 932: return CodePage::Cp932;
    case 65001: return CodePage::Utf8;
    default: {
      CPINFO info{};
      return (GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1) ? CodePage::System : CodePage::SingleByte;
    }
  }
}

bool systemIsLeadByte(unsigned char c) { return IsDBCSLeadByte(c) != 0; }

bool convertText(std::string_view text, bool, std::string& out) {
  out.assign(text);
  return true;
}

}  // namespace orva::platform::detail

// Windows: the ANSI code page is the system's (932 for our users) and the
// console already shows cp932, so texts pass through unchanged.
#include <windows.h>

#include <string>

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

std::string fromUtf8(std::string_view utf8, CodePage codePage) {
  if (utf8.empty()) return std::string();
  const int length = static_cast<int>(utf8.size());
  std::wstring wide(utf8.size(), L'\0');
  const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), length);
  const UINT target = codePage == CodePage::Cp932 ? 932 : CP_ACP;
  // No best fit: a character the code page lacks is shown as '?', never as
  // some other letter that looks like it.
  const int bytes = WideCharToMultiByte(target, WC_NO_BEST_FIT_CHARS, wide.data(), units, nullptr, 0, "?", nullptr);
  std::string out(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
  if (bytes > 0) WideCharToMultiByte(target, WC_NO_BEST_FIT_CHARS, wide.data(), units, out.data(), bytes, "?", nullptr);
  return out;
}

}  // namespace orva::platform::detail

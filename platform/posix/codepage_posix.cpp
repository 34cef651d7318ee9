// Linux: names are the locale's bytes. The code page follows LC_ALL,
// LC_CTYPE or LANG (a program need not call setlocale for us to know it);
// tag texts are converted between cp932 and that encoding with iconv.
#include <iconv.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/codepage_system.h"

namespace orva::platform::detail {

namespace {

const char* localeName() {
  for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* v = std::getenv(var);
    if (v != nullptr && v[0] != '\0') return v;
  }
  return "";
}

bool contains(const char* text, const char* part) { return strcasestr(text, part) != nullptr; }

const char* terminalCharset() {
  switch (systemCodePage()) {
    case CodePage::Cp932: return "CP932";
    case CodePage::SingleByte: return "ISO-8859-1";
    default: return "UTF-8";
  }
}

}  // namespace

CodePage systemCodePage() {
  const char* name = localeName();
  if (contains(name, "sjis") || contains(name, "shift_jis") || contains(name, "932")) return CodePage::Cp932;
  if (contains(name, "iso8859") || contains(name, "iso-8859") || contains(name, "latin")) return CodePage::SingleByte;
  // UTF-8 locales, and also C/POSIX: stepping UTF-8 over ASCII changes nothing.
  return CodePage::Utf8;
}

bool systemIsLeadByte(unsigned char) { return false; }

bool convertText(std::string_view text, bool toTerminal, std::string& out) {
  out.clear();
  const char* from = toTerminal ? "CP932" : terminalCharset();
  const char* to = toTerminal ? terminalCharset() : "CP932";
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    out.assign(text);
    return false;
  }
  bool ok = true;
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char buffer[256];
  while (inLeft > 0) {
    char* o = buffer;
    size_t oLeft = sizeof buffer;
    size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    out.append(buffer, static_cast<size_t>(o - buffer));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      ok = false;
      if (!toTerminal) break;
      out.push_back('?');  // one undecodable byte
      ++in;
      --inLeft;
    }
  }
  iconv_close(cd);
  return ok;
}

std::string fromUtf8(std::string_view utf8, CodePage codePage) {
  const char* charset = codePage == CodePage::SingleByte ? "ISO-8859-1" : "CP932";
  iconv_t cd = iconv_open(charset, "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(utf8);
  std::string out;
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char buffer[256];
  while (inLeft > 0) {
    char* o = buffer;
    size_t oLeft = sizeof buffer;
    const size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    out.append(buffer, static_cast<size_t>(o - buffer));
    if (r == static_cast<size_t>(-1) && errno != E2BIG) {
      // The input is well formed, so this is a character the code page
      // lacks: step over all of its bytes.
      out.push_back('?');
      do {
        ++in;
        --inLeft;
      } while (inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace orva::platform::detail

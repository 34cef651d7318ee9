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

namespace {

// What to do with input iconv cannot convert.
enum class OnFailure {
  Stop,             // give up there
  SkipByte,         // a '?' for the byte, then go on
  SkipUtf8Sequence  // a '?' for the whole UTF-8 character, then go on
};

// Converts `text` from `from` to `to` into `out`; false when some input
// could not be converted (or the converter could not be opened, and the
// text is copied as it is).
bool convertWithIconv(std::string_view text, const char* from, const char* to, OnFailure onFailure, std::string& out) {
  out.clear();
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
    const size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
    out.append(buffer, static_cast<size_t>(o - buffer));
    if (r != static_cast<size_t>(-1) || errno == E2BIG) continue;
    ok = false;
    if (onFailure == OnFailure::Stop) break;
    out.push_back('?');
    do {
      ++in;
      --inLeft;
    } while (onFailure == OnFailure::SkipUtf8Sequence && inLeft > 0 &&
             (static_cast<unsigned char>(*in) & 0xC0) == 0x80);
  }
  iconv_close(cd);
  return ok;
}

}  // namespace

bool convertText(std::string_view text, bool toTerminal, std::string& out) {
  if (toTerminal) return convertWithIconv(text, "CP932", terminalCharset(), OnFailure::SkipByte, out);
  return convertWithIconv(text, terminalCharset(), "CP932", OnFailure::Stop, out);
}

std::string fromUtf8(std::string_view utf8, CodePage codePage) {
  // The input is well formed: what fails is a character the code page lacks.
  std::string out;
  convertWithIconv(utf8, "UTF-8", codePage == CodePage::SingleByte ? "ISO-8859-1" : "CP932",
                   OnFailure::SkipUtf8Sequence, out);
  return out;
}

}  // namespace orva::platform::detail

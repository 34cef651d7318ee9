// Character stepping shared by both platforms; only the choice of the system
// code page and the conversions differ (codepage_system.h).
#include <atomic>

#include "platform/codepage.h"
#include "platform/codepage_system.h"

namespace orva::platform {

namespace {

std::atomic<CodePage> selectedCodePage{CodePage::System};

bool isCp932Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

bool isUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The system's code page does not change while the process runs; asking
// the platform on every byte would cost more than the scan itself.
CodePage systemCodePageOnce() {
  static const CodePage cached = detail::systemCodePage();
  return cached;
}

unsigned char foldAscii(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; }

}  // namespace

void setActiveCodePage(CodePage codePage) { selectedCodePage.store(codePage); }

CodePage activeCodePage() {
  CodePage cp = selectedCodePage.load();
  return cp == CodePage::System ? systemCodePageOnce() : cp;
}

bool isLeadByte(unsigned char c) {
  switch (selectedCodePage.load()) {
    case CodePage::Cp932: return isCp932Lead(c);
    case CodePage::Utf8: return c >= 0xC2 && c <= 0xF4;
    case CodePage::SingleByte: return false;
    case CodePage::System: break;
  }
  switch (systemCodePageOnce()) {
    case CodePage::Cp932: return isCp932Lead(c);
    case CodePage::Utf8: return c >= 0xC2 && c <= 0xF4;
    default: return detail::systemIsLeadByte(c);
  }
}

const char* nextChar(const char* p) {
  auto c = static_cast<unsigned char>(*p);
  if (c == 0) return p;
  if (!isLeadByte(c)) return p + 1;
  if (activeCodePage() == CodePage::Utf8) {
    const char* q = p + 1;
    for (int i = 0; i < 3 && isUtf8Continuation(static_cast<unsigned char>(*q)); ++i) ++q;
    return q;
  }
  return p[1] != '\0' ? p + 2 : p + 1;
}

int compareNoCase(const char* a, const char* b) {
  while (*a != '\0' && *b != '\0') {
    const char* na = nextChar(a);
    const char* nb = nextChar(b);
    if (na - a == 1 && nb - b == 1) {
      int d = foldAscii(static_cast<unsigned char>(*a)) - foldAscii(static_cast<unsigned char>(*b));
      if (d != 0) return d;
    } else {
      for (; a < na && b < nb; ++a, ++b) {
        int d = static_cast<unsigned char>(*a) - static_cast<unsigned char>(*b);
        if (d != 0) return d;
      }
      if (a != na) return 1;
      if (b != nb) return -1;
    }
    a = na;
    b = nb;
  }
  return static_cast<unsigned char>(*a) - static_cast<unsigned char>(*b);
}

std::string cp932ToTerminal(std::string_view text) {
  std::string out;
  detail::convertText(text, true, out);
  return out;
}

bool terminalToCp932(std::string_view text, std::string& out) { return detail::convertText(text, false, out); }

}  // namespace orva::platform

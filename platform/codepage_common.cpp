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

unsigned foldAsciiLower(unsigned c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

// The cp932 letters that have a lower-case partner, each range with the
// distance to it (JIS X 0208 rows 3, 6 and 7 as cp932 places them):
// full-width Latin, Greek and Cyrillic. The Cyrillic lower case skips 0x7F,
// which is never a trail byte, so its upper half moves one further.
struct CaseRange {
  unsigned first;
  unsigned last;
  unsigned distance;
};
constexpr CaseRange kCp932UpperCase[] = {
    {0x8260, 0x8279, 0x21},  // Ａ-Ｚ -> ａ-ｚ
    {0x839F, 0x83B6, 0x20},  // Α-Ω -> α-ω
    {0x8440, 0x844E, 0x30},  // А-Н -> а-н
    {0x844F, 0x8460, 0x31},  // О-Я -> о-я
};

unsigned foldCp932Lower(unsigned code) {
  for (const CaseRange& r : kCp932UpperCase) {
    if (code >= r.first && code <= r.last) return code + r.distance;
  }
  return code;
}

// One character of a comparison: the value it sorts by and where the next
// character starts.
struct SortChar {
  unsigned value;
  const char* next;
};

// Double-byte code pages order a character as one 16-bit value (lead << 8 |
// trail), so every single byte, half-width katakana included, sorts before
// all double-byte text. A lead byte cut off by the end of the string keeps
// its place as lead << 8: before every whole character with that lead, after
// the string that stops short of it.
SortChar readDoubleByteChar(const char* p, bool cp932) {
  auto c = static_cast<unsigned char>(*p);
  if (!isLeadByte(c)) return {foldAsciiLower(c), c == 0 ? p : p + 1};
  auto trail = static_cast<unsigned char>(p[1]);
  if (trail == 0) return {static_cast<unsigned>(c) << 8, p + 1};
  unsigned code = static_cast<unsigned>(c) << 8 | trail;
  return {cp932 ? foldCp932Lower(code) : code, p + 2};
}

// UTF-8 bytes already sort in code point order, and single-byte code pages
// have no order beyond their bytes: only ASCII letters fold.
SortChar readByte(const char* p) {
  auto c = static_cast<unsigned char>(*p);
  return {foldAsciiLower(c), c == 0 ? p : p + 1};
}

SortChar readSortChar(const char* p, CodePage cp) {
  switch (cp) {
    case CodePage::Cp932: return readDoubleByteChar(p, true);
    case CodePage::Utf8:
    case CodePage::SingleByte: return readByte(p);
    case CodePage::System: break;
  }
  return readDoubleByteChar(p, false);
}

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
  const CodePage cp = activeCodePage();
  for (;;) {
    SortChar x = readSortChar(a, cp);
    SortChar y = readSortChar(b, cp);
    if (x.value != y.value) return x.value < y.value ? -1 : 1;
    if (x.value == 0) return 0;
    a = x.next;
    b = y.next;
  }
}

std::string cp932ToTerminal(std::string_view text) {
  std::string out;
  detail::convertText(text, true, out);
  return out;
}

bool terminalToCp932(std::string_view text, std::string& out) { return detail::convertText(text, false, out); }

}  // namespace orva::platform

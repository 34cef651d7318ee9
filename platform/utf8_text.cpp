// UTF-8 into the active code page. The text is made well formed here and
// the characters cp932 knows under another code point are moved onto it, so
// that both platforms hand their converters the same input.
#include <cstdint>
#include <string>

#include "platform/codepage.h"
#include "platform/codepage_system.h"

namespace orva::platform {

namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

// The code points Unicode mappings of JIS X 0208 disagree on; cp932 holds
// the second of each pair.
struct Variant {
  char32_t from;
  char32_t to;
};
constexpr Variant kCp932Variants[] = {
    {0x301C, 0xFF5E},  // WAVE DASH -> FULLWIDTH TILDE
    {0x2016, 0x2225},  // DOUBLE VERTICAL LINE -> PARALLEL TO
    {0x2212, 0xFF0D},  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
    {0x00A2, 0xFFE0},  // CENT SIGN
    {0x00A3, 0xFFE1},  // POUND SIGN
    {0x00AC, 0xFFE2},  // NOT SIGN
    {0x2014, 0x2015},  // EM DASH -> HORIZONTAL BAR
};

// The character at `at` and the bytes it takes (at least one); kInvalid for
// a byte that does not begin a well-formed sequence.
char32_t decodeAt(std::string_view s, size_t at, size_t& length) {
  const auto lead = static_cast<unsigned char>(s[at]);
  length = 1;
  if (lead < 0x80) return lead;
  size_t more = 0;
  char32_t c = 0;
  char32_t least = 0;
  if ((lead & 0xE0) == 0xC0) {
    more = 1, c = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    more = 2, c = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    more = 3, c = lead & 0x07, least = 0x10000;
  } else {
    return kInvalid;
  }
  if (at + more >= s.size()) return kInvalid;
  for (size_t i = 1; i <= more; ++i) {
    const auto next = static_cast<unsigned char>(s[at + i]);
    if ((next & 0xC0) != 0x80) return kInvalid;
    c = (c << 6) | (next & 0x3F);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return kInvalid;
  length = more + 1;
  return c;
}

char32_t cp932Spelling(char32_t c) {
  for (const Variant& v : kCp932Variants) {
    if (v.from == c) return v.to;
  }
  return c;
}

}  // namespace

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string utf8ToActiveCodePage(std::string_view utf8) {
  const CodePage target = activeCodePage();
  std::string wellFormed;
  wellFormed.reserve(utf8.size());
  for (size_t at = 0, length = 0; at < utf8.size(); at += length) {
    char32_t c = decodeAt(utf8, at, length);
    if (c == kInvalid) c = '?';
    if (target == CodePage::Cp932) c = cp932Spelling(c);
    // No code page of ours but UTF-8 holds a character beyond the BMP.
    if (target != CodePage::Utf8 && c > 0xFFFF) c = '?';
    appendUtf8(wellFormed, c);
  }
  if (target == CodePage::Utf8) return wellFormed;
  return detail::fromUtf8(wellFormed, target);
}

}  // namespace orva::platform

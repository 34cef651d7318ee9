// Multi-byte text stepping for paths and tag texts. File names are bytes in
// the active code page: the system's ANSI code page on Windows (932 for our
// users), the locale's encoding on Linux (usually UTF-8). Every routine that
// splits or compares names steps whole characters so that a trail byte such
// as 0x5C is never taken for a path separator.
#pragma once

#include <string>
#include <string_view>

namespace orva::platform {

enum class CodePage {
  System,  // whatever the process runs under
  Cp932,
  Utf8,
  SingleByte,
};

// Tests select a code page; the default is System.
void setActiveCodePage(CodePage codePage);
CodePage activeCodePage();  // never System: the resolved one

// True when `c` begins a character of more than one byte.
bool isLeadByte(unsigned char c);
// The next character after `p`; never steps over the terminating NUL.
const char* nextChar(const char* p);
// Case-insensitive order of two texts (-1, 0 or 1), character by character,
// as the C runtime's _mbsicmp orders cp932: ASCII letters fold to lower case
// (so [ \ ] ^ _ and ` sort before the letters), every single byte (half-width
// katakana included) sorts before double-byte text, a double-byte character
// counts as one 16-bit value (lead << 8 | trail) with full-width Latin, Greek
// and Cyrillic capitals folded onto their small letters, and a lead byte cut
// off by the end of the text counts as lead << 8. Characters that cp932
// encodes twice (NEC and IBM extensions) keep their own codes; the runtime
// of some systems maps them onto one another. Other double-byte code
// pages order the same way without folding. UTF-8 and single-byte code pages
// fold ASCII letters only and otherwise compare bytes, which for UTF-8 is
// code point order.
int compareNoCase(const char* a, const char* b);

// cp932 text (tags, stored names) for the terminal and back. On Windows the
// console already speaks cp932; on Linux the locale's encoding is used.
// Bytes that cannot be converted become '?' on the way out; on the way in,
// a text cp932 cannot hold makes the conversion fail.
std::string cp932ToTerminal(std::string_view text);
bool terminalToCp932(std::string_view text, std::string& out);

// UTF-8 text (what an ID3v2 tag holds) in the active code page, to stand
// beside the file names and tag texts of that code page. Characters the
// code page lacks become '?', and so does each byte that is not UTF-8. A
// character Japanese text spells with one of two code points (WAVE DASH or
// FULLWIDTH TILDE, MINUS SIGN or FULLWIDTH HYPHEN-MINUS, ...) takes the one
// cp932 maps, whichever the tag used.
std::string utf8ToActiveCodePage(std::string_view utf8);

// Appends the code point `c` (at most U+10FFFF) to `out` in UTF-8.
void appendUtf8(std::string& out, char32_t c);

}  // namespace orva::platform

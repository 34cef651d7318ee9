// M3U line walking and writing; see m3u.h.
#include "playlist/m3u.h"

#include <cstdio>

namespace orva {

namespace {

constexpr std::string_view kExtInf = "#EXTINF:";

bool isAtoiBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

bool M3uWalker::next(M3uPathLine& line) {
  for (;;) {
    size_t lf = rest_.find('\n');
    if (lf == std::string_view::npos) return false;  // text after the last line feed is not read
    std::string_view text = rest_.substr(0, lf);
    rest_.remove_prefix(lf + 1);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    if (text.empty()) continue;
    if (text.front() == '#') {
      if (text.substr(0, kExtInf.size()) != kExtInf) continue;
      text.remove_prefix(kExtInf.size());
      size_t comma = text.find(',');
      hasTitle_ = comma != std::string_view::npos;
      if (hasTitle_) {
        duration_ = text.substr(0, comma);
        title_ = text.substr(comma + 1);
      }
      continue;
    }
    line.path = text;
    line.hasTitle = hasTitle_;
    line.title = hasTitle_ ? title_ : std::string_view{};
    line.durationText = hasTitle_ ? duration_ : std::string_view{};
    return true;
  }
}

int32_t parseDuration(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && isAtoiBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 0x80000000LL) value = 0x80000000LL;  // saturate instead of overflowing
  }
  if (negative) value = -value;
  if (value > 0x7FFFFFFF) value = 0x7FFFFFFF;
  return static_cast<int32_t>(value);
}

void appendM3uEntry(std::string& out, bool extended, int32_t seconds, const char* displayText, const char* path) {
  if (extended) {
    char number[16];
    std::snprintf(number, sizeof number, "%d", static_cast<int>(seconds));
    out += "#EXTINF:";
    out += number;
    out += ',';
    // A line break inside a title would split the entry when read back.
    for (const char* p = displayText; *p != '\0'; ++p) out += (*p == '\r' || *p == '\n') ? ' ' : *p;
    out += "\r\n";
  }
  out += path;
  out += "\r\n";
}

}  // namespace orva

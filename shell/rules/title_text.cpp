// Title line and tray tip texts; see title_text.h.
#include "shell/rules/title_text.h"

#include <cstdio>

#include "platform/codepage.h"

namespace orva {

namespace {

// "mm:ss" with the minutes unbounded; 32-bit seconds need at most 8 digits.
void appendClock(std::string& out, int32_t seconds) {
  if (seconds < 0) seconds = 0;
  char clock[16];
  std::snprintf(clock, sizeof clock, "%02d:%02d", static_cast<int>(seconds / 60), static_cast<int>(seconds % 60));
  out += clock;
}

}  // namespace

size_t fittingBytes(const char* text, size_t maxBytes) {
  size_t fitting = 0;
  const char* p = text;
  while (*p != '\0') {
    const char* next = platform::nextChar(p);
    auto end = static_cast<size_t>(next - text);
    if (end > maxBytes) break;
    fitting = end;
    p = next;
  }
  return fitting;
}

std::string cutText(const char* text, size_t maxBytes) { return std::string(text, fittingBytes(text, maxBytes)); }

std::string titleLine(int32_t positionSeconds, const char* trackText, int32_t totalSeconds) {
  std::string line;
  appendClock(line, positionSeconds);
  line += ' ';
  line += trackText;
  line += " [";
  appendClock(line, totalSeconds);
  line += ']';
  return cutText(line.c_str(), kTitleTextMaxBytes);
}

std::string trayTip(const char* displayText) { return cutText(displayText, kTrayTipMaxBytes); }

}  // namespace orva

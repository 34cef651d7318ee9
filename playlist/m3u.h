// M3U and extended M3U text, apart from any file: the walk over a list's
// lines and the lines written for one entry. Text is cp932 bytes as stored.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orva {

inline constexpr int64_t kMaxPlaylistBytes = 1000000;
inline constexpr char kExtM3uHeader[] = "#EXTM3U\r\n";

// One path line with the title pending in front of it.
struct M3uPathLine {
  std::string_view path;
  bool hasTitle;
  std::string_view title;
  std::string_view durationText;
};

// Walks the lines of a list: only lines ending in "\n" count (a "\r" before
// it is dropped); "#" lines are comments, except "#EXTINF:<duration>,<title>"
// which makes the title pending (without "," it clears it). A pending title
// stays until consumeTitle() says a path line has used it.
class M3uWalker {
 public:
  explicit M3uWalker(std::string_view text) : rest_(text) {}
  // The next non-empty path line; false at the end.
  bool next(M3uPathLine& line);
  void consumeTitle() { hasTitle_ = false; }

 private:
  std::string_view rest_;
  bool hasTitle_ = false;
  std::string_view title_;
  std::string_view duration_;
};

// The leading decimal integer of `text` as atoi reads it (blanks, sign,
// digits; 0 when there are none), held to the int32 range.
int32_t parseDuration(std::string_view text);

// Appends one entry: "#EXTINF:%d,%s\r\n" in the extended form, then the path
// and "\r\n".
void appendM3uEntry(std::string& out, bool extended, int32_t seconds, const char* displayText, const char* path);

}  // namespace orva

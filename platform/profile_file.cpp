// Profile file reading and writing over lines kept in memory; see
// profile_file.h for the rules. Used by the settings of the player.
#include "platform/profile_file.h"

#include <cstdio>

#include "platform/codepage.h"
#include "platform/file.h"

namespace orva::platform {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Bytes in one character at `i`: a trail byte is never looked at alone.
size_t characterLength(std::string_view s, size_t i) {
  return isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
}

// ASCII letters match either case; the bytes of a double-byte character
// match only themselves.
bool equalNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size();) {
    const size_t length = characterLength(a, i);
    for (size_t k = i; k < i + length; ++k) {
      auto x = static_cast<unsigned char>(a[k]);
      auto y = static_cast<unsigned char>(b[k]);
      if (length == 1 && x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
      if (length == 1 && y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
      if (x != y) return false;
    }
    i += length;
  }
  return true;
}

// The first ']' that is a character of its own (0x5D is also a trail byte).
size_t closingBracket(std::string_view line) {
  for (size_t i = 0; i < line.size(); i += characterLength(line, i)) {
    if (line[i] == ']') return i;
  }
  return std::string_view::npos;
}

// The name of a "[name]" line, or false when the line is no section header.
bool sectionName(std::string_view line, std::string_view& name) {
  line = trimBlanks(line);
  if (line.empty() || line.front() != '[') return false;
  size_t close = closingBracket(line);
  name = trimBlanks(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
  return true;
}

// Splits "key=value"; false for lines without "=" and for comments.
bool splitKeyLine(std::string_view line, std::string_view& key, std::string_view& value) {
  std::string_view t = trimBlanks(line);
  if (t.empty() || t.front() == ';') return false;
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = trimBlanks(line.substr(0, eq));
  value = trimBlanks(line.substr(eq + 1));
  return true;
}

std::string keyLine(std::string_view key, std::string_view value) {
  std::string line(key);
  line += '=';
  line += value;
  return line;
}

}  // namespace

void ProfileFile::parse(std::string_view text) {
  lines_.clear();
  while (!text.empty()) {
    size_t lf = text.find('\n');
    std::string_view line = text.substr(0, lf);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines_.emplace_back(line);
    if (lf == std::string_view::npos) break;
    text.remove_prefix(lf + 1);
  }
}

bool ProfileFile::load(const char* path) {
  lines_.clear();
  File file;
  if (!file.open(path, FileMode::Read)) return false;
  int64_t size = file.size();
  if (size < 0 || size > kMaxFileBytes) return false;
  std::string text(static_cast<size_t>(size), '\0');
  if (size > 0 && file.read(text.data(), size) != size) return false;
  parse(text);
  return true;
}

std::string ProfileFile::render() const {
  std::string text;
  for (const std::string& line : lines_) {
    text += line;
    text += "\r\n";
  }
  return text;
}

bool ProfileFile::save(const char* path) const {
  if (path == nullptr || path[0] == '\0') return false;
  std::string fresh = std::string(path) + ".new";
  std::string text = render();
  File file;
  if (!file.open(fresh.c_str(), FileMode::CreateAlways)) return false;
  auto size = static_cast<int64_t>(text.size());
  bool written = file.write(text.data(), size) == size && file.flush();
  file.close();
  if (written && replaceFile(fresh.c_str(), path)) return true;
  removeFile(fresh.c_str());
  return false;
}

int64_t ProfileFile::findSection(std::string_view section) const {
  std::string_view name;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (sectionName(lines_[i], name) && equalNoCase(name, trimBlanks(section))) return static_cast<int64_t>(i);
  }
  return -1;
}

int64_t ProfileFile::findKey(int64_t header, std::string_view key, int64_t& end) const {
  std::string_view name;
  std::string_view k;
  std::string_view v;
  int64_t found = -1;
  end = header + 1;
  for (auto i = static_cast<size_t>(header + 1); i < lines_.size(); ++i) {
    if (sectionName(lines_[i], name)) break;
    if (!trimBlanks(lines_[i]).empty()) end = static_cast<int64_t>(i) + 1;
    if (found < 0 && splitKeyLine(lines_[i], k, v) && equalNoCase(k, trimBlanks(key))) {
      found = static_cast<int64_t>(i);
    }
  }
  return found;
}

bool ProfileFile::getString(std::string_view section, std::string_view key, std::string& value) const {
  int64_t header = findSection(section);
  if (header < 0) return false;
  int64_t end = 0;
  int64_t at = findKey(header, key, end);
  if (at < 0) return false;
  std::string_view k;
  std::string_view v;
  splitKeyLine(lines_[static_cast<size_t>(at)], k, v);
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
  value.assign(v);
  return true;
}

int32_t ProfileFile::getInt(std::string_view section, std::string_view key, int32_t defaultValue) const {
  std::string text;
  if (!getString(section, key, text) || text.empty()) return defaultValue;
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  // Wraps like the 32-bit conversion of the system call; never overflows here.
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = value * 10u + static_cast<uint32_t>(text[i] - '0');
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

void ProfileFile::setString(std::string_view section, std::string_view key, std::string_view value) {
  int64_t header = findSection(section);
  if (header < 0) {
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(keyLine(key, value));
    return;
  }
  int64_t end = 0;
  int64_t at = findKey(header, key, end);
  if (at >= 0) {
    std::string_view k;
    std::string_view v;
    splitKeyLine(lines_[static_cast<size_t>(at)], k, v);
    lines_[static_cast<size_t>(at)] = keyLine(k, value);  // the stored spelling of the key stays
    return;
  }
  lines_.insert(lines_.begin() + end, keyLine(key, value));
}

void ProfileFile::setInt(std::string_view section, std::string_view key, int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  setString(section, key, text);
}

}  // namespace orva::platform

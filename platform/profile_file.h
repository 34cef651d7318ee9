// Initialisation ("profile") files with the semantics of the Win32 private
// profile functions, in portable code: "[Section]" lines and "key=value"
// lines, section and key names compared ignoring ASCII case, the first match
// winning, blanks around names and values ignored, and every line we do not
// change kept as it was. Values are read as decimal integers the way
// GetPrivateProfileIntA reads them and written as "%d".
// Unlike WritePrivateProfileStringA, changes collect in memory and `save`
// writes the whole file once, beside the old one, and then replaces it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orva::platform {

class ProfileFile {
 public:
  // Files larger than this are refused by `load` rather than cut.
  static constexpr int64_t kMaxFileBytes = 4 * 1024 * 1024;

  // Takes any bytes; lines end with "\n", a "\r" before it is dropped, and a
  // last line without a line feed counts.
  void parse(std::string_view text);
  // False (and an empty file in memory) when the file cannot be read.
  bool load(const char* path);
  // The lines joined with "\r\n".
  std::string render() const;
  // Writes `render()` to a file beside `path` and moves it over `path`; the
  // old file stays whole when anything fails.
  bool save(const char* path) const;

  // The value's text without surrounding blanks and one pair of surrounding
  // double quotes; false when the key is absent.
  bool getString(std::string_view section, std::string_view key, std::string& value) const;
  // `defaultValue` when the key is absent or its value empty; otherwise the
  // leading decimal integer (optional blanks and sign), 0 when there is none.
  int32_t getInt(std::string_view section, std::string_view key, int32_t defaultValue) const;

  // Replaces the value of an existing key in place, or adds the key at the
  // end of its section, or adds the section at the end of the file.
  void setString(std::string_view section, std::string_view key, std::string_view value);
  void setInt(std::string_view section, std::string_view key, int32_t value);

  const std::vector<std::string>& lines() const { return lines_; }

 private:
  // Index of the section's header line, or -1.
  int64_t findSection(std::string_view section) const;
  // Index of the key's line inside the section starting at `header`, or -1;
  // `end` receives the index after the section's last non-blank line.
  int64_t findKey(int64_t header, std::string_view key, int64_t& end) const;

  std::vector<std::string> lines_;
};

}  // namespace orva::platform

// ID3v2.3 tags built byte by byte, for tests of files that carry one.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace orva::test {

// A text frame in UTF-16 with a byte order mark, as most taggers write
// Japanese titles.
inline std::vector<uint8_t> utf16TextFrame(const char* id, const std::u16string& text) {
  std::vector<uint8_t> data{1, 0xFF, 0xFE};
  for (char16_t c : text) {
    data.push_back(static_cast<uint8_t>(c & 0xFF));
    data.push_back(static_cast<uint8_t>(c >> 8));
  }
  const auto size = static_cast<uint32_t>(data.size());
  std::vector<uint8_t> frame(id, id + 4);
  for (int shift : {24, 16, 8, 0}) frame.push_back(static_cast<uint8_t>(size >> shift));
  frame.insert(frame.end(), {0, 0});
  frame.insert(frame.end(), data.begin(), data.end());
  return frame;
}

// A version 2.3 tag around `frames`.
inline std::vector<uint8_t> id3v2Tag(std::initializer_list<std::vector<uint8_t>> frameList) {
  std::vector<uint8_t> frames;
  for (const std::vector<uint8_t>& frame : frameList) frames.insert(frames.end(), frame.begin(), frame.end());
  const auto n = static_cast<uint32_t>(frames.size());
  std::vector<uint8_t> tag{'I', 'D', '3', 3, 0, 0};
  for (int shift : {21, 14, 7, 0}) tag.push_back(static_cast<uint8_t>((n >> shift) & 0x7F));
  tag.insert(tag.end(), frames.begin(), frames.end());
  return tag;
}

}  // namespace orva::test

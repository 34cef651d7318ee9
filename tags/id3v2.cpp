// ID3v2 reading; see id3v2.h. Layouts: a 10-byte header ("ID3", version,
// revision, flags, a synchsafe size), an optional extended header, frames
// (2.2: 3-byte id and size; 2.3: 4-byte id, 32-bit size, two flag bytes;
// 2.4: the same with a synchsafe size), padding, and in 2.4 an optional
// footer.
#include "tags/id3v2.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/codepage.h"
#include "tags/id3v1.h"

namespace orva {

namespace {

constexpr uint8_t kFlagUnsynchronised = 0x80;
constexpr uint8_t kFlagExtendedHeader = 0x40;
constexpr uint8_t kFlagFooter = 0x10;

// 2.3 frame flags (second byte).
constexpr uint8_t kV3Compressed = 0x80;
constexpr uint8_t kV3Encrypted = 0x40;
constexpr uint8_t kV3Grouped = 0x20;
// 2.4 frame flags (second byte).
constexpr uint8_t kV4Grouped = 0x40;
constexpr uint8_t kV4Compressed = 0x08;
constexpr uint8_t kV4Encrypted = 0x04;
constexpr uint8_t kV4Unsynchronised = 0x02;
constexpr uint8_t kV4DataLength = 0x01;

using Bytes = std::span<const uint8_t>;

bool synchsafe(Bytes b, uint32_t& value) {
  value = 0;
  for (uint8_t c : b) {
    if (c & 0x80) return false;
    value = (value << 7) | c;
  }
  return true;
}

uint32_t bigEndian(Bytes b) {
  uint32_t value = 0;
  for (uint8_t c : b) value = (value << 8) | c;
  return value;
}

// Undoes unsynchronisation: every 0xFF 0x00 pair loses its 0x00.
std::vector<uint8_t> resynchronised(Bytes b) {
  std::vector<uint8_t> out;
  out.reserve(b.size());
  for (size_t i = 0; i < b.size(); ++i) {
    out.push_back(b[i]);
    if (b[i] == 0xFF && i + 1 < b.size() && b[i + 1] == 0x00) ++i;
  }
  return out;
}

std::string utf16ToUtf8(Bytes b, bool bigEndianOrder) {
  std::string out;
  auto unit = [&](size_t i) -> uint32_t {
    return bigEndianOrder ? (uint32_t{b[i]} << 8) | b[i + 1] : (uint32_t{b[i + 1]} << 8) | b[i];
  };
  for (size_t i = 0; i + 1 < b.size(); i += 2) {
    uint32_t c = unit(i);
    if (c == 0) break;
    if (c >= 0xD800 && c < 0xDC00 && i + 3 < b.size()) {
      const uint32_t low = unit(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      } else {
        c = 0xFFFD;
      }
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;  // a lone half of a pair
    }
    platform::appendUtf8(out, c);
  }
  return out;
}

// Where the first terminator of `encoding` ends `text` (its length when
// there is none): one NUL, or two on an even offset for UTF-16.
size_t terminatedLength(uint8_t encoding, Bytes text) {
  if (encoding == 1 || encoding == 2) {
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
      if (text[i] == 0 && text[i + 1] == 0) return i;
    }
    return text.size() & ~size_t{1};
  }
  const auto end = std::find(text.begin(), text.end(), uint8_t{0});
  return static_cast<size_t>(end - text.begin());
}

size_t terminatorSize(uint8_t encoding) { return encoding == 1 || encoding == 2 ? 2 : 1; }

// "(17)", "17" and "(17)Refined" as ID3v1 numbers stand for a genre name;
// a refinement after the number is the better name.
std::string genreText(const std::string& raw) {
  size_t i = 0;
  bool parenthesis = false;
  if (!raw.empty() && raw[0] == '(' && raw.compare(0, 2, "((") != 0) {
    parenthesis = true;
    i = 1;
  }
  size_t digits = i;
  while (digits < raw.size() && digits - i < 3 && raw[digits] >= '0' && raw[digits] <= '9') ++digits;
  if (digits == i) return raw;
  const int number = std::stoi(raw.substr(i, digits - i));
  if (parenthesis) {
    if (digits >= raw.size() || raw[digits] != ')') return raw;
    if (digits + 1 < raw.size()) return raw.substr(digits + 1);
  } else if (digits != raw.size()) {
    return raw;
  }
  if (number > 255) return raw;
  return genreName(number);
}

struct Frame {
  std::string id;
  std::vector<uint8_t> unsynchronisedCopy;  // the data when it had to be rebuilt
  Bytes data;
};

// The text of a text frame (encoding byte, then the text).
std::string frameText(Bytes data) {
  if (data.empty()) return std::string();
  return id3v2TextToUtf8(data[0], data.subspan(1));
}

// COMM and USLT: encoding, language, a terminated description, the text.
// `described` says whether the description was not empty.
std::string describedText(Bytes data, bool& described) {
  described = false;
  if (data.size() < 4) return std::string();
  const uint8_t encoding = data[0];
  Bytes rest = data.subspan(4);
  const size_t description = terminatedLength(encoding, rest);
  described = description > 0;
  const size_t skip = std::min(rest.size(), description + terminatorSize(encoding));
  return id3v2TextToUtf8(encoding, rest.subspan(skip));
}

void takeFrame(const Frame& frame, Id3v2Texts& out) {
  const std::string& id = frame.id;
  auto first = [](std::string& field, std::string value) {
    if (field.empty()) field = std::move(value);
  };
  if (id == "TIT2" || id == "TT2") return first(out.title, frameText(frame.data));
  if (id == "TPE1" || id == "TP1") return first(out.artist, frameText(frame.data));
  if (id == "TALB" || id == "TAL") return first(out.album, frameText(frame.data));
  if (id == "TYER" || id == "TYE" || id == "TDRC") return first(out.year, frameText(frame.data).substr(0, 4));
  if (id == "TCON" || id == "TCO") return first(out.genre, genreText(frameText(frame.data)));
  bool described = false;
  if (id == "COMM" || id == "COM") {
    std::string text = describedText(frame.data, described);
    // A comment without a description is the one meant for people.
    if (!described || out.comment.empty()) out.comment = std::move(text);
    return;
  }
  if (id == "USLT" || id == "ULT") return first(out.lyrics, describedText(frame.data, described));
}

class FrameReader {
 public:
  FrameReader(Bytes body, int32_t version, bool tagUnsynchronised)
      : body_(body), version_(version), tagUnsynchronised_(tagUnsynchronised) {}

  // The next frame that can be read; false at the padding or the end.
  bool next(Frame& frame) {
    const size_t headerSize = version_ == 2 ? 6 : 10;
    const size_t idSize = version_ == 2 ? 3 : 4;
    while (at_ + headerSize <= body_.size() && body_[at_] != 0) {
      Bytes header = body_.subspan(at_, headerSize);
      frame.id.assign(reinterpret_cast<const char*>(header.data()), idSize);
      for (char c : frame.id) {
        if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
      }
      const uint32_t size = id3v2FrameSize(version_, header.subspan(idSize, version_ == 2 ? 3 : 4));
      at_ += headerSize;
      const size_t length = std::min<size_t>(size, body_.size() - at_);
      Bytes data = body_.subspan(at_, length);
      at_ += length;
      if (shape(frame, data, version_ == 2 ? 0 : header[9])) return true;
    }
    return false;
  }

 private:
  // Strips what stands before the data and undoes a frame's own
  // unsynchronisation; false for a frame that cannot be read.
  bool shape(Frame& frame, Bytes data, uint8_t flags) const {
    frame.unsynchronisedCopy.clear();
    if (version_ == 3) {
      if (flags & (kV3Compressed | kV3Encrypted)) return false;
      if (flags & kV3Grouped) data = data.subspan(std::min<size_t>(1, data.size()));
    }
    if (version_ == 4) {
      if (flags & (kV4Compressed | kV4Encrypted)) return false;
      if (flags & kV4Grouped) data = data.subspan(std::min<size_t>(1, data.size()));
      if (flags & kV4DataLength) data = data.subspan(std::min<size_t>(4, data.size()));
      if ((flags & kV4Unsynchronised) || tagUnsynchronised_) {
        frame.unsynchronisedCopy = resynchronised(data);
        data = frame.unsynchronisedCopy;
      }
    }
    frame.data = data;
    return true;
  }

  Bytes body_;
  int32_t version_;
  bool tagUnsynchronised_;
  size_t at_ = 0;
};

}  // namespace

uint32_t id3v2FrameSize(int32_t version, std::span<const uint8_t> field) {
  if (version != 4) return bigEndian(field);
  uint32_t size = 0;
  return synchsafe(field, size) ? size : bigEndian(field);
}

std::string id3v2TextToUtf8(uint8_t encoding, std::span<const uint8_t> text) {
  text = text.first(terminatedLength(encoding, text));
  switch (encoding) {
    case 0: {
      std::string out;
      for (uint8_t c : text) platform::appendUtf8(out, c);
      return out;
    }
    case 1: {
      bool big = false;  // no byte order mark: little-endian, as most writers do
      if (text.size() >= 2 && ((text[0] == 0xFE && text[1] == 0xFF) || (text[0] == 0xFF && text[1] == 0xFE))) {
        big = text[0] == 0xFE;
        text = text.subspan(2);
      }
      return utf16ToUtf8(text, big);
    }
    case 2: return utf16ToUtf8(text, true);
    case 3: return std::string(reinterpret_cast<const char*>(text.data()), text.size());
    default: return std::string();
  }
}

bool parseId3v2(std::span<const uint8_t> bytes, Id3v2Texts& out) {
  out = Id3v2Texts{};
  if (bytes.size() < static_cast<size_t>(kId3v2HeaderSize) || std::memcmp(bytes.data(), "ID3", 3) != 0) return false;
  const int32_t version = bytes[3];
  if (version < 2 || version > 4 || bytes[4] == 0xFF) return false;
  uint32_t size = 0;
  if (!synchsafe(bytes.subspan(6, 4), size)) return false;
  const uint8_t flags = bytes[5];
  out.majorVersion = version;
  out.tagBytes = int64_t{kId3v2HeaderSize} + size + (version == 4 && (flags & kFlagFooter) ? kId3v2HeaderSize : 0);

  Bytes body = bytes.subspan(kId3v2HeaderSize, std::min<size_t>(size, bytes.size() - kId3v2HeaderSize));
  // Before 2.4 the whole body, frame headers included, is unsynchronised.
  std::vector<uint8_t> whole;
  if ((flags & kFlagUnsynchronised) && version < 4) {
    whole = resynchronised(body);
    body = whole;
  }
  if (flags & kFlagExtendedHeader) {
    if (version == 2) return true;  // 2.2 used this bit for compression: nothing readable
    uint32_t extended = 0;
    if (body.size() < 4) return true;
    if (version == 3) {
      extended = bigEndian(body.first(4)) + 4;
    } else if (!synchsafe(body.first(4), extended)) {
      return true;
    }
    body = body.subspan(std::min<size_t>(extended, body.size()));
  }
  FrameReader reader(body, version, version == 4 && (flags & kFlagUnsynchronised));
  Frame frame;
  while (reader.next(frame)) takeFrame(frame, out);
  return true;
}

}  // namespace orva

// ID3v2 tags (versions 2.2, 2.3 and 2.4) read for the texts a player shows:
// title, artist, album, year, genre, comment and the unsynchronised lyrics.
// A pure parser over the bytes at the start of a file; every size it meets
// is held to the bytes there are, and nothing is allocated beyond them. The
// texts come out as UTF-8 whatever the tag's encoding.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "tags/byte_io.h"

namespace orva {

inline constexpr int32_t kId3v2HeaderSize = 10;

struct Id3v2Texts {
  int32_t majorVersion = 0;  // 2, 3 or 4
  int64_t tagBytes = 0;      // header, body and footer as the header states them
  std::string title;
  std::string artist;
  std::string album;
  std::string year;
  std::string genre;  // a genre number ("(17)" or "17") as its name
  std::string comment;
  std::string lyrics;
};

// The tag at the start of `bytes`, which may hold all of it or only its
// beginning. False when `bytes` does not begin with a valid ID3v2 header;
// then `out` is left empty. Frames the parser cannot read (compressed,
// encrypted, damaged) are skipped.
bool parseId3v2(std::span<const uint8_t> bytes, Id3v2Texts& out);

// The tag at `offset` of `source`, read without its large frames (cover
// pictures, embedded objects): a tag of any size costs the reads of its
// frame headers and its texts. False when no valid ID3v2 header is there.
bool readId3v2(ByteSource& source, int64_t offset, Id3v2Texts& out);

// A frame's size field (3 bytes in 2.2, 4 after): synchsafe in 2.4, except
// that some writers put a plain number there, taken when the field cannot
// be synchsafe.
uint32_t id3v2FrameSize(int32_t version, std::span<const uint8_t> field);

// A text of an ID3v2 text encoding (0 ISO-8859-1, 1 UTF-16 with byte order
// mark, 2 UTF-16BE, 3 UTF-8) up to its first terminator, as UTF-8.
std::string id3v2TextToUtf8(uint8_t encoding, std::span<const uint8_t> text);

}  // namespace orva

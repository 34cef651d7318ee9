// ID3v1 tags (the last 128 bytes of a file), the genre table, and the skip
// over an ID3v2 tag at the start of the audio. Parse and render are pure;
// the file functions wrap them.
#pragma once

#include <cstdint>

#include "orva_engine.h"
#include "platform/file.h"
#include "tags/byte_io.h"

namespace orva {

inline constexpr int32_t kId3v1Size = 128;
// Genre numbers the writers use: any out-of-range genre, and a blank tag.
inline constexpr int32_t kGenreOutOfRange = 200;
inline constexpr int32_t kGenreBlankTag = 250;

extern const char* const GENRE_NAMES[256];
extern const char* const DIALOG_GENRE_NAMES[148];

// Name for the number's low 8 bits ("" for the unnamed numbers).
const char* genreName(int32_t number);

// Copies exactly 30 bytes and cuts trailing spaces (never position 0).
// `destination` receives up to 31 bytes (the text and its NUL).
void trimTagText(char* destination, const char* source30);

// Pure forms over the 128 tag bytes. A parse that succeeds zero-fills the
// record first; one that fails leaves it alone.
bool parseId3v1(const uint8_t* tag128, Id3v1Record& out);
bool parseId3v11(const uint8_t* tag128, Id3v11Record& out);
// Clamps a genre outside 0..255 to 200 in the record itself. Text fields are
// copied up to their NUL and zero-padded to 30 bytes.
void renderId3v1(Id3v1Record& record, uint8_t* tag128);
// As above; a track of 0..255 puts 0 and the track into comment bytes 28/29
// (in the record too).
void renderId3v11(Id3v11Record& record, uint8_t* tag128);
// "TAG", 124 spaces and the genre 250: the tag made where one must exist.
void makeBlankTag(uint8_t* tag128);
// True when the 128 bytes at the end of `source` begin "TAG".
bool hasId3v1(ByteSource& source);

// File forms: test the last 128 bytes; 1 when they begin "TAG".
int32_t readId3v1(platform::File& file, Id3v1Record& out);
int32_t readId3v11(platform::File& file, Id3v11Record& out);
int32_t readId3v1(ByteSource& source, Id3v1Record& out);
int32_t readId3v11(ByteSource& source, Id3v11Record& out);

// 1 and `offset` advanced past the tag when an ID3v2 header is at `offset`.
// The advanced offset never passes the end of the file.
int32_t skipId3v2Header(platform::File& file, int64_t& offset);
int32_t skipId3v2Header(ByteSource& source, int64_t& offset);

}  // namespace orva

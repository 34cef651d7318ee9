// Lyrics3 v2 blocks: the block that sits directly in front of the ID3v1 tag.
// Finding, parsing and rendering are pure over bytes or a ByteSource; the
// path functions read a file, or rewrite it through a safe rewrite.
#pragma once

#include <cstdint>
#include <memory>

#include "orva_engine.h"
#include "platform/file.h"
#include "tags/byte_io.h"

namespace orva {

// "LYRICSBEGIN" + IND (10 bytes) + seven empty fields (8 each) = 77, plus the
// six size digits and "LYRICS200".
inline constexpr int64_t kLyrics3EmptyBlock = 92;
inline constexpr int64_t kLyrics3Trailer = 15;

// 1 and the block's total length (size field + 15) when a block ends just
// before the ID3v1 tag (or at the end of a file without one); else 0 and 0.
// A size field that is not six digits, or that claims more than the file
// holds in front of the end marker's end, is no block.
int32_t findLyrics3(platform::File& file, int64_t& length);
int32_t findLyrics3(ByteSource& source, int64_t& length);

// Parses the block's bytes without the 15-byte trailer (they must begin
// "LYRICSBEGIN"). Zero-fills `out` first. Field data is clamped to the block
// and to each slot's size.
bool parseLyrics3(const uint8_t* bytes, int64_t length, Lyrics3Fields& out);

// The whole block for `fields` (trailer included) into `out`, which must
// hold kLyrics3MaxBlock bytes; returns its length.
inline constexpr int64_t kLyrics3MaxBlock = 11 + 10 + 3 * (8 + 60000) + 4 * (8 + 250) + 15;
int64_t renderLyrics3(const Lyrics3Fields& fields, uint8_t* out);

// The block of `source` read into `fields`: 1, or 0 when there is none (or it
// is damaged); a read or memory failure also sets `failure` (ENGINE_ERR_READ or
// ENGINE_ERR_MEMORY).
int32_t readLyrics3(ByteSource& source, Lyrics3Fields& fields, int32_t& failure);

// The file's block in memory, for the writers that carry it over. `padded`
// starts with one zero byte when the block's length is odd.
struct LyricsCopy {
  std::unique_ptr<uint8_t[]> bytes;
  int64_t length = 0;  // of the block itself
  int64_t paddedLength() const { return length + (length & 1); }
  const uint8_t* padded() const { return bytes.get(); }
  const uint8_t* block() const { return bytes.get() + (length & 1); }
};
// 0 (with an empty copy when there is no block) or a status code.
int32_t copyLyrics3(ByteSource& source, LyricsCopy& copy);

// New content of `old` with its tail (Lyrics3 block and tag) replaced: with
// `fields`, a new block; with null, none. The old tag, or a blank one, ends
// the file. RIFF files also get their LIST chunk rewritten around the block.
// `placement` is the INFO writer's lyrics placement mode. Returns 0 or the
// status code of the failure.
int32_t renderLyrics3Rewrite(ByteSource& old, const Lyrics3Fields* fields, int32_t placement, ByteSink& out);

// By path. readLyrics3Fields zero-fills `fields`: ENGINE_OK, kNoLyrics3Block
// when the file has none (or it is damaged), or the status code of the
// failure.
inline constexpr int32_t kNoLyrics3Block = -1;
int32_t readLyrics3Fields(const char* path, Lyrics3Fields& fields);
// Writes `fields` as the file's block, or with null removes the block:
// ENGINE_OK or the status code of the failure.
int32_t writeLyrics3Block(const char* path, const Lyrics3Fields* fields, int32_t placement);

}  // namespace orva

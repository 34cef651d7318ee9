// The ID3v1 operations on files named by path, behind the engine interface's
// readId3v1File, readId3v11File, writeId3v1Tag and writeId3v11Tag. Failures
// set the status code.
#pragma once

#include <cstdint>

#include "engine/orva_engine.h"
#include "tags/byte_io.h"

namespace orva {

// Zero the record and read the file's tag. 1 whenever the file opened (with
// or without a tag); 0 with status 1 for an empty path or a failed open.
int32_t tagReadId3v1File(const char* path, Id3v1Record* tag);
int32_t tagReadId3v11File(const char* path, Id3v11Record* tag);

// Store the record as the file's tag: over an existing tag, or (create == 1)
// as a new one. refreshNowPlaying == 1 copies the written tag into the open
// file's tags. 1, or 0 with status 1, 3, 4, 18 (no record) or 19.
int32_t tagWriteId3v1(const char* path, Id3v1Record* tag, int32_t refreshNowPlaying, int32_t create);
int32_t tagWriteId3v11(const char* path, Id3v11Record* tag, int32_t refreshNowPlaying, int32_t create);

// The new content of `old` with the 128 tag bytes stored, into `out`.
// Returns 0, or the status code of the failure (nothing useful in `out`).
int32_t renderId3v1Rewrite(ByteSource& old, const uint8_t* tag128, int32_t create, ByteSink& out);

}  // namespace orva

// The ID3v1 operations on files named by path, behind the engine interface's
// readId3v1File, readId3v11File, writeId3v1Tag and writeId3v11Tag. Each
// returns ENGINE_OK or the status code of the failure.
#pragma once

#include <cstdint>

#include "orva_engine.h"
#include "tags/byte_io.h"

namespace orva {

// Zero the record and read the file's tag. ENGINE_OK whenever the file
// opened (with or without a tag); ENGINE_ERR_OPEN for an empty path or a
// failed open; ENGINE_ERR_ARGUMENT without a record.
int32_t tagReadId3v1File(const char* path, Id3v1Record* tag);
int32_t tagReadId3v11File(const char* path, Id3v11Record* tag);

// Store the record as the file's tag: over an existing tag, or (create == 1)
// as a new one; the 128 bytes stored are left in `written` (128 bytes).
// `placement` is the INFO writer's lyrics placement, for a RIFF file that
// gets a new LIST chunk. Failures: ENGINE_ERR_OPEN, ENGINE_ERR_READ,
// ENGINE_ERR_WRITE, ENGINE_ERR_ARGUMENT (no record), ENGINE_ERR_MEMORY.
int32_t tagWriteId3v1(const char* path, Id3v1Record* tag, int32_t create, int32_t placement, uint8_t* written);
int32_t tagWriteId3v11(const char* path, Id3v11Record* tag, int32_t create, int32_t placement, uint8_t* written);

// The new content of `old` with the 128 tag bytes stored, into `out`.
// Returns 0, or the status code of the failure (nothing useful in `out`).
int32_t renderId3v1Rewrite(ByteSource& old, const uint8_t* tag128, int32_t create, int32_t placement, ByteSink& out);

}  // namespace orva

// Conversions between bare MPEG audio and the RIFF containers (RIFF MP3 and
// the WAVE wrapper), and the removal of a 128-byte leading header. Each one
// renders the new file from the old and replaces it whole; the ID3v1 tag and
// a Lyrics3 block are carried along.
#pragma once

#include <cstdint>

#include "tags/byte_io.h"

namespace orva {

inline constexpr int64_t kRmp3HeaderSize = 20;
inline constexpr int64_t kWaveMpegHeaderSize = 58;

// `count` new bytes, then the first `keep` bytes of `old`.
bool insertAtFileStart(ByteSource& old, const uint8_t* bytes, int64_t count, int64_t keep, ByteSink& out);

// Renders return 0, kRewriteNothing, or the status code of the failure.
int32_t renderToRiff(ByteSource& old, bool wave, int32_t placement, ByteSink& out);
int32_t renderToMpeg(ByteSource& old, ByteSink& out);
int32_t renderWithoutLeadingHeader(ByteSource& old, ByteSink& out);

// By path: 1, or 0 with the status set; the file is replaced or untouched.
int32_t convertToRmp3(const char* path);
int32_t convertToWaveMpeg(const char* path);
int32_t convertToMpeg(const char* path);
int32_t stripLeadingHeader(const char* path);

}  // namespace orva

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

// By path: ENGINE_OK or the status code of the failure; the file is
// replaced or untouched. `placement` is the lyrics placement mode of the
// INFO writer.
int32_t convertFileToRmp3(const char* path, int32_t placement);
int32_t convertFileToWaveMpeg(const char* path, int32_t placement);
int32_t convertFileToMpeg(const char* path);
int32_t stripFileLeadingHeader(const char* path);

}  // namespace orva

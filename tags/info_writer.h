// The INFO writer: gives a RIFF file a new LIST INFO chunk directly after its
// audio, ending with the ID3v1 tag (and the Lyrics3 block, when the file has
// one, placed by the lyrics placement mode). Whatever followed the audio
// before is replaced.
#pragma once

#include <cstdint>

#include "tags/byte_io.h"
#include "tags/riff_walk.h"

namespace orva {

// Where an existing Lyrics3 block goes: 0 inside ILYC with the tag, 1 inside
// IID3 with the tag (ILYC keeps the text), 2 dropped. Others are stored as 0.
int32_t lyricsPlacement();
void setLyricsPlacement(int32_t mode);

// 1, or 0 with the status code set (1 open, 3 short read, 4 write, 19 memory,
// 20 not RIFF). The file is replaced whole or left as it was.
int32_t writeInfo(const char* path, const InfoText& text);

// The new content of the RIFF file `old` with its LIST chunk rewritten, into
// `out`. `tagOverride` (128 bytes, or null) is written in place of the tag the
// file had. Returns 0, or the status code of the failure.
int32_t renderInfoRewrite(ByteSource& old, const InfoText& text, int32_t placement,
                          const uint8_t* tagOverride, ByteSink& out);

}  // namespace orva

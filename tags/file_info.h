// What a file holds, without opening it in the engine: the tag layout probe
// and the file information read that fills a play list entry and the
// information dialog (ID3v1 tag, MPEG summary, INFO text).
#pragma once

#include <cstdint>

#include "decoder/frame_header.h"
#include "engine/orva_engine.h"
#include "tags/byte_io.h"

namespace orva {

// Probe bits.
inline constexpr int32_t kLayoutWave = 1;
inline constexpr int32_t kLayoutRmp3 = 2;
inline constexpr int32_t kLayoutId3v2 = 4;
inline constexpr int32_t kLayoutLeadingHeader = 8;
inline constexpr int32_t kLayoutId3v1 = 16;
inline constexpr int32_t kLayoutLyrics3 = 32;

// The bit set above, or -1 when a read falls short.
int32_t probeTagLayout(ByteSource& source);
int32_t probeTagLayout(const char* path);

// The MPEG summary of a stream from its first frame's header; a stream
// without a frame count gets the estimate audio size / minimum frame size.
void fillFileInfo(const MpegFrameHeader& header, int64_t fileSize, int64_t audioSize, FileInfo& info);

// Fills the outputs (each may be null; all zeroed first). 0 or the status
// code of the failure.
int32_t readFileInfo(ByteSource& source, Id3v1Record* tag, FileInfo* info, InfoText* text, int32_t* flags);
// By path: 1, or 0 with the status set.
int32_t readFileInfo(const char* path, Id3v1Record* tag, FileInfo* info, InfoText* text, int32_t* flags);

}  // namespace orva

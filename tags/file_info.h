// What a file holds, without opening it in the engine: the tag layout probe
// and the file information read that fills a play list entry and the
// information dialog (ID3v1 tag, MPEG summary, INFO text, ID3v2 texts).
#pragma once

#include <cstdint>

#include "decoder/frame_header.h"
#include "orva_engine.h"
#include "tags/byte_io.h"
#include "tags/id3v2.h"

namespace orva {

// The TAG_LAYOUT_ bits of the engine interface, or -1 when a read falls
// short (or the file cannot be opened).
int32_t probeTagLayoutFrom(ByteSource& source);
int32_t probeTagLayoutAt(const char* path);

// The MPEG summary of a stream from its first frame's header; a stream
// without a frame count gets the estimate audio size / minimum frame size.
void fillFileInfo(const MpegFrameHeader& header, int64_t fileSize, int64_t audioSize, FileInfo& info);

// Fills the outputs (each may be null; all zeroed first), the ID3v2 texts
// too when asked for. ENGINE_OK or the status code of the failure.
int32_t readFileInfoFrom(ByteSource& source, Id3v1Record* tag, FileInfo* info, InfoText* text, int32_t* flags,
                         Id3v2Texts* id3v2 = nullptr);
int32_t readFileInfoAt(const char* path, Id3v1Record* tag, FileInfo* info, InfoText* text, int32_t* flags,
                       Id3v2Texts* id3v2 = nullptr);

}  // namespace orva

// Finding the first MPEG audio frame of a file. The engine's open and the
// file information read of a list entry both search here, so that a list
// entry and the stream it opens agree on what the file holds. Pure over a
// ByteSource: no decoder state is read or written, so a file can be probed
// on the window thread while another one plays.
#pragma once

#include <cstdint>

#include "decoder/frame_header.h"
#include "orva_engine.h"
#include "tags/byte_io.h"

namespace orva {

// Bytes from the audio start in which the first frame's sync is looked for.
inline constexpr int32_t kFirstFrameWindow = 10240;

// Searches the window at `start` for the first frame whose header is
// confirmed by the stream itself (see first_frame.cpp); `end` is where the
// audio data ends (the source's size when the caller does not know it). On
// Found, `offset` is the frame's position and `header` its stream header
// with the output format that `options` give. Returns ENGINE_OK;
// ENGINE_ERR_READ when nothing could be read at the audio start or a read
// failed; ENGINE_ERR_NO_SYNC when the window holds no sync candidate;
// ENGINE_ERR_BAD_HEADER when no candidate is a confirmed frame, or the
// stream is in free format.
int32_t findFirstFrame(ByteSource& source, int64_t start, int64_t end, const DecoderOptions& options, int64_t& offset,
                       MpegFrameHeader& header);

// True when `bytes` (`length` of them valid) begin a tag that files carry
// after their audio: ID3v1, APEv2, Lyrics3 v2 or an appended ID3v2.
bool beginsTrailingTag(const uint8_t* bytes, int32_t length);

// Byte length of the frame whose stream header is `header`; for the frame
// holding a VBR header, that frame's length.
int32_t firstFrameLength(const MpegFrameHeader& header);

}  // namespace orva

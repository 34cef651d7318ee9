// Finding and describing the first MPEG frame of a stream. Used by the
// engine's open and by the header information it hands out.
#pragma once

#include <cstdint>

#include "decoder/frame_header.h"
#include "platform/file.h"

namespace orva {

// Searches the 10240 bytes at `offset` for the first frame and reads its
// stream header in stream mode (the decoder remembers the stream). On
// success `offset` is the frame's position. Returns ENGINE_OK,
// ENGINE_ERR_READ, ENGINE_ERR_NO_SYNC or ENGINE_ERR_BAD_HEADER.
int32_t probeFirstFrame(platform::File& file, int64_t& offset, MpegFrameHeader& header);

// Whole seconds of `header.frameCount` frames of PCM output.
int32_t mpegDurationSeconds(const MpegFrameHeader& header);

// Byte length of the frame whose header is parsed in `header`; for the frame
// holding a VBR header, that frame's length.
int32_t firstFrameLength(const MpegFrameHeader& header);

}  // namespace orva

// Finding and describing the first MPEG frame of a stream. Used by the
// engine's open and by the header information it hands out.
#pragma once

#include <cstdint>

#include "decoder/frame_header.h"
#include "platform/file.h"
#include "tags/first_frame.h"

namespace orva {

// Searches the 10240 bytes at `offset` for the first confirmed frame of the
// audio data that ends at `end`, and reads its stream header with the
// decoder's current options. On success `offset` is the frame's position.
// Returns ENGINE_OK, ENGINE_ERR_READ, ENGINE_ERR_NO_SYNC or
// ENGINE_ERR_BAD_HEADER (free format included).
int32_t probeFirstFrame(platform::File& file, int64_t& offset, int64_t end, MpegFrameHeader& header);

// Whole seconds of `header.frameCount` frames of PCM output.
int32_t mpegDurationSeconds(const MpegFrameHeader& header);

}  // namespace orva

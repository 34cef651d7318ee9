// The first-frame search of engineOpen: the shared search of the tag library
// (tags/first_frame.cpp says which candidates it takes) over the open file.
#include "engine/stream_probe.h"

#include "engine/engine_state.h"
#include "engine/units.h"
#include "tags/byte_io.h"

namespace orva {

static_assert(kFirstFrameWindow == kProbeWindow);

int32_t probeFirstFrame(platform::File& file, int64_t& offset, int64_t end, MpegFrameHeader& header) {
  DecoderOptions options{};
  getDecoderOptions(options);
  FileSource source(file);
  int64_t found = 0;
  switch (findFirstFrame(source, offset, end, options, found, header)) {
    case FirstFrameSearch::Found: break;
    case FirstFrameSearch::ReadFailed: return ENGINE_ERR_READ;
    case FirstFrameSearch::NoSync: return ENGINE_ERR_NO_SYNC;
    case FirstFrameSearch::BadHeader: return ENGINE_ERR_BAD_HEADER;
  }
  offset = found;
  return ENGINE_OK;
}

int32_t mpegDurationSeconds(const MpegFrameHeader& header) {
  const int64_t bytes = int64_t{frameCountOf(header)} * header.outputBytesPerFrame;
  const int64_t samples = units::bytesToSamples(bytes, header.outputBits, header.outputChannels);
  return units::clampToInt32(units::samplesToSeconds(samples, header.outputSampleRate));
}

}  // namespace orva

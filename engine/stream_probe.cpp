// The first-frame search of engineOpen: the shared search of the tag library
// (tags/first_frame.cpp says which candidates it takes) over the open file.
#include "engine/stream_probe.h"

#include "decoder/units.h"
#include "engine/engine_state.h"
#include "tags/byte_io.h"

namespace orva {

static_assert(kFirstFrameWindow == kProbeWindow);

int32_t probeFirstFrame(platform::File& file, int64_t& offset, int64_t end, MpegFrameHeader& header) {
  DecoderOptions options{};
  getDecoderOptions(options);
  FileSource source(file);
  int64_t found = 0;
  const int32_t code = findFirstFrame(source, offset, end, options, found, header);
  if (code == ENGINE_OK) offset = found;
  return code;
}

int32_t mpegDurationSeconds(const MpegFrameHeader& header) {
  const int64_t bytes = int64_t{frameCountOf(header)} * header.outputBytesPerFrame;
  const int64_t samples = units::bytesToSamples(bytes, header.outputBits, header.outputChannels);
  return units::clampToInt32(units::samplesToSeconds(samples, header.outputSampleRate));
}

}  // namespace orva

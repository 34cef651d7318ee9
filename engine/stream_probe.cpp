// The first-frame search of engineOpen.
//
// The first sync candidate that parses is taken when the header after it
// agrees (same version, layer and sampling rate) or lies beyond the bytes
// read. Random bytes in front of the audio (a damaged file, an unknown
// header) often hold 0xFF 0xEx pairs; one that happens to parse would
// otherwise open the file with a made-up format, and one that does not parse
// would refuse a file that plays.
#include "engine/stream_probe.h"

#include <array>

#include "engine/engine_state.h"
#include "engine/units.h"

namespace orva {
namespace {

// The search window and, behind its last candidate, the 10240 bytes that the
// stream header of that candidate may be read from.
constexpr int32_t kReadSize = 2 * kProbeWindow;

bool sameStream(const MpegFrameHeader& a, const MpegFrameHeader& b) {
  return a.version == b.version && a.layer == b.layer && a.sampleRateIndex == b.sampleRateIndex;
}

// True when the frame at `bytes` (of which `length` are valid) is followed by
// a matching header, or when its successor is not among the bytes read.
bool confirmedByNext(const uint8_t* bytes, int32_t length, const MpegFrameHeader& header) {
  const int32_t next = firstFrameLength(header);
  if (next <= 0) return false;
  if (length - 4 < next) return true;
  MpegFrameHeader following{};
  return parseFrameHeader(bytes + next, following) && sameStream(header, following);
}

}  // namespace

int32_t firstFrameLength(const MpegFrameHeader& header) {
  if (header.vbrHeaderFrameSize > 0) return header.vbrHeaderFrameSize;
  const int32_t bitrate = bitrateKbps(header.version, header.layer, header.bitrateIndex) * 1000;
  return frameLength(header, bitrate, sampleRateHz(header.version, header.sampleRateIndex));
}

int32_t probeFirstFrame(platform::File& file, int64_t& offset, MpegFrameHeader& header) {
  static std::array<uint8_t, kReadSize> bytes;  // window thread only
  if (!file.seek(offset)) return ENGINE_ERR_READ;
  const int64_t got = file.read(bytes.data(), kReadSize);
  if (got <= 0) return ENGINE_ERR_READ;
  const int32_t length = static_cast<int32_t>(got);
  const int32_t window = length < kProbeWindow ? length : kProbeWindow;

  int32_t position = 0;
  int32_t status = ENGINE_ERR_NO_SYNC;
  while (position < window) {
    int32_t sync = 0;
    if (!findFrameSync(bytes.data() + position, window - position, sync)) break;
    position += sync;
    const uint8_t* frame = bytes.data() + position;
    const int32_t available = std::min(length - position, kProbeWindow);
    MpegFrameHeader candidate{};
    if (readStreamHeader(frame, available, candidate, false) &&
        confirmedByNext(frame, available, candidate)) {
      readStreamHeader(frame, available, header, true);
      offset += position;
      return ENGINE_OK;
    }
    status = ENGINE_ERR_BAD_HEADER;
    ++position;
  }
  return status;
}

int32_t mpegDurationSeconds(const MpegFrameHeader& header) {
  const int64_t bytes = int64_t{frameCountOf(header)} * header.outputBytesPerFrame;
  const int64_t samples = units::bytesToSamples(bytes, header.outputBits, header.outputChannels);
  return units::clampToInt32(units::samplesToSeconds(samples, header.outputSampleRate));
}

}  // namespace orva

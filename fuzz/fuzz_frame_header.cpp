// Fuzz target: the frame-header parsers over arbitrary bytes, walking the
// buffer from sync to sync the way the engine's probing does, with the
// encoder's delay and padding read wherever a stream header parses.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "decoder/encoder_gap.h"
#include "decoder/frame_header.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  // The parsers may read 156 bytes from a sync: keep a private padded copy
  // only where the callers guarantee that much; elsewhere pass the real size.
  std::vector<uint8_t> bytes(data, data + size);
  const int32_t length = static_cast<int32_t>(size);
  DecoderOptions options{static_cast<int32_t>(size % 3), static_cast<int32_t>(size & 11), 24000};
  int32_t pos = 0;
  for (int32_t steps = 0; steps < 4096 && pos < length; ++steps) {
    int32_t offset = 0;
    if (!orva::findFrameSync(bytes.data() + pos, length - pos, offset)) break;
    pos += offset;
    orva::MpegFrameHeader header{};
    if (orva::readStreamHeader(bytes.data() + pos, length - pos, options, header)) {
      orva::EncoderGap gap{};
      if (orva::readEncoderGap(bytes.data() + pos, length - pos, header, gap)) {
        orva::sourceSpan(gap, static_cast<uint32_t>(header.frameCount), 1152, options.downsampleShift);
      }
      const int32_t bitrate = orva::bitrateKbps(header.version, header.layer, header.bitrateIndex) * 1000;
      const int32_t len =
          orva::frameLength(header, bitrate, orva::sampleRateHz(header.version, header.sampleRateIndex));
      pos += len > 0 ? len : 1;
    } else if (length - pos >= 4 && orva::parseFrameHeader(bytes.data() + pos, header)) {
      pos += 1;
    } else {
      pos += 1;
    }
  }
  return 0;
}

// Reading the encoder's delay and padding from a first frame's "Xing" or
// "Info" header, and the span of decoded output they leave (see
// encoder_gap.h). Called by the engine on the host's thread at open and
// when playback starts.
#include "decoder/encoder_gap.h"

namespace orva {
namespace {

constexpr uint32_t kFlagFrames = 1;
constexpr uint32_t kFlagBytes = 2;
constexpr uint32_t kFlagToc = 4;
constexpr uint32_t kFlagQuality = 8;

// The encoder extension: a 9-byte version text, then fields of which only
// the 24 bits at offset 21 matter here (12 bits of delay, 12 of padding).
constexpr int32_t kExtensionBytes = 36;
constexpr int32_t kGapOffset = 21;

int32_t layer3SamplesPerFrame(const MpegFrameHeader& header) { return header.version == 1 ? 1152 : 576; }

// Bytes from the tag to the extension: the tag and flags, then each field
// the flags announce.
int32_t extensionOffset(uint32_t flags) {
  int32_t offset = 8;
  if (flags & kFlagFrames) offset += 4;
  if (flags & kFlagBytes) offset += 4;
  if (flags & kFlagToc) offset += 100;
  if (flags & kFlagQuality) offset += 4;
  return offset;
}

bool isAsciiAlnum(uint8_t c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// An extension begins with the encoder's name; a header without one has
// zeros or other fields there.
bool namesAnEncoder(const uint8_t* extension) {
  for (int32_t i = 0; i < 4; ++i) {
    if (!isAsciiAlnum(extension[i])) return false;
  }
  return true;
}

bool plausible(const EncoderGap& gap, const MpegFrameHeader& header) {
  const int64_t perFrame = layer3SamplesPerFrame(header);
  if (gap.delay >= 2 * perFrame || gap.padding >= 2 * perFrame) return false;
  return int64_t{gap.delay} + gap.padding < int64_t{static_cast<uint32_t>(header.frameCount)} * perFrame;
}

}  // namespace

bool readEncoderGap(const uint8_t* bytes, int32_t length, const MpegFrameHeader& header, EncoderGap& gap) {
  if (header.layer != 3 || header.vbrHeaderFrameSize <= 0 || header.frameCount == 0) return false;
  const int32_t available = length < header.vbrHeaderFrameSize ? length : header.vbrHeaderFrameSize;
  const int32_t tag = vbrTagOffset(header);
  if (tag > available || available - tag < 8) return false;
  const VbrTag kind = vbrTagKind(bytes + tag);
  if (kind != VbrTag::Xing && kind != VbrTag::Info) return false;
  // Without the frame-count flag the count read at its fixed offset is
  // another field, and the end of the source is unknown.
  const uint32_t flags = readBigEndian32(bytes + tag + 4);
  if ((flags & kFlagFrames) == 0) return false;
  const int32_t extension = tag + extensionOffset(flags);
  if (extension > available || available - extension < kExtensionBytes) return false;
  const uint8_t* e = bytes + extension;
  if (!namesAnEncoder(e)) return false;
  const uint8_t* g = e + kGapOffset;
  const EncoderGap found{(g[0] << 4) | (g[1] >> 4), ((g[1] & 0x0F) << 8) | g[2]};
  if (!plausible(found, header)) return false;
  gap = found;
  return true;
}

SourceSpan sourceSpan(const EncoderGap& gap, uint32_t frameCount, int32_t samplesPerFrame, int32_t downsampleShift) {
  const int32_t shift = downsampleShift < 0 ? 0 : (downsampleShift > 2 ? 2 : downsampleShift);
  const int64_t decoded = int64_t{frameCount} * samplesPerFrame;
  const int64_t skip = int64_t{gap.delay} + kLayer3DecoderDelay;
  int64_t length = decoded - gap.delay - gap.padding;
  if (length > decoded - skip) length = decoded - skip;
  if (length < 0) length = 0;
  // Each end is taken to the lower rate on its own, so the span begins and
  // ends at the output samples the full-rate ends fall into.
  const int64_t end = skip + length;
  return SourceSpan{skip >> shift, (end >> shift) - (skip >> shift)};
}

}  // namespace orva

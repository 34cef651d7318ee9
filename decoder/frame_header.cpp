// MPEG audio frame headers: the four header bytes, sync scanning, the first
// frame of a stream with its "Xing"/"Info"/"VBRI" header, and frame lengths.
// Called by the engine (open, playback, resync), the tag code and the
// decoder core; on whichever thread the caller runs. Only the accessors at
// the end touch the decoder's state.
#include "decoder/frame_header.h"

#include <cstring>

#include "decoder/decoder_state.h"

namespace orva {
namespace {

// Bitrates in kbit/s. ISO/IEC 11172-3 Table 3.1 (MPEG-1) and ISO/IEC
// 13818-3 Table 2.4.2.3 (MPEG-2, also used for MPEG-2.5).
constexpr int16_t kBitrates[2][3][16] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}},
};

// Sampling rates in Hz: MPEG-1, MPEG-2 (13818-3), MPEG-2.5.
constexpr int32_t kSampleRates[3][4] = {{44100, 48000, 32000, 0}, {22050, 24000, 16000, 0}, {11025, 12000, 8000, 0}};

bool fail(int32_t* error, int32_t reason) {
  if (error != nullptr) *error = reason;
  return false;
}

bool isSyncAt(const uint8_t* b) { return b[0] == 0xFF && (b[1] & 0xE0) == 0xE0; }

// Side information bytes of a Layer III frame.
int32_t sideInfoBytes(const MpegFrameHeader& h) {
  if (h.version == 1) return h.mode == 3 ? 17 : 32;
  return h.mode == 3 ? 9 : 17;
}

// Frame bytes at bitrate r (bit/s) without padding, by layer.
int32_t unpaddedSize(const MpegFrameHeader& h, int32_t r, int32_t sr) {
  if (h.layer == 1) return (r * 12 / sr) * 4;
  if (h.layer == 2) return r * 144 / sr;
  return (r * 144 / sr) / (h.version == 1 ? 1 : 2);
}

}  // namespace

uint32_t readBigEndian32(const uint8_t* bytes) {
  return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) | uint32_t{bytes[3]};
}

int32_t bitrateKbps(int32_t version, int32_t layer, int32_t bitrateIndex) {
  if (version < 1 || version > 3 || layer < 1 || layer > 3 || bitrateIndex < 0 || bitrateIndex > 15) {
    return 0;
  }
  return kBitrates[version == 1 ? 0 : 1][layer - 1][bitrateIndex];
}

int32_t sampleRateHz(int32_t version, int32_t sampleRateIndex) {
  if (version < 1 || version > 3 || sampleRateIndex < 0 || sampleRateIndex > 3) return 0;
  return kSampleRates[version - 1][sampleRateIndex];
}

bool parseFrameHeader(const uint8_t* bytes, MpegFrameHeader& header, int32_t* error) {
  const uint8_t b1 = bytes[1], b2 = bytes[2], b3 = bytes[3];
  const int32_t idBit = (b1 >> 3) & 1;
  const int32_t layerBits = (b1 >> 1) & 3;
  header.hasCrc = (b1 & 1) == 0 ? 1 : 0;
  header.bitrateIndex = b2 >> 4;
  header.sampleRateIndex = (b2 >> 2) & 3;
  header.padding = (b2 >> 1) & 1;
  header.privateBit = b2 & 1;
  header.mode = b3 >> 6;
  header.modeExtension = (b3 >> 4) & 3;
  header.copyright = (b3 >> 3) & 1;
  header.original = (b3 >> 2) & 1;
  header.emphasis = b3 & 3;
  if (bytes[0] != 0xFF) return fail(error, DECODER_ERR_NO_SYNC);
  if ((b1 >> 4) == 0xF) {
    header.version = idBit ? 1 : 2;
  } else if ((b1 >> 4) == 0xE) {
    header.version = 3;  // MPEG-2.5 whatever the ID bit says
  } else {
    return fail(error, DECODER_ERR_NO_SYNC);
  }
  if (header.sampleRateIndex == 3 || header.bitrateIndex == 0 || header.bitrateIndex == 15 || layerBits == 0) {
    return fail(error, DECODER_ERR_BAD_HEADER);
  }
  header.layer = 4 - layerBits;
  return true;
}

bool findFrameSync(const uint8_t* bytes, int32_t length, int32_t& offset) {
  offset = 0;
  const int32_t n = length - 3;
  for (int32_t i = 0; i < n; ++i) {
    if (isSyncAt(bytes + i)) {
      offset = i;
      return true;
    }
  }
  return false;
}

int32_t vbrTagOffset(const MpegFrameHeader& header) {
  int32_t tag = 4 + (header.hasCrc ? 2 : 0);
  if (header.layer == 3) tag += sideInfoBytes(header);
  return tag;
}

VbrTag vbrTagKind(const uint8_t* tag) {
  if (std::memcmp(tag, "Xing", 4) == 0) return VbrTag::Xing;
  if (std::memcmp(tag, "Info", 4) == 0) return VbrTag::Info;
  if (std::memcmp(tag, "VBRI", 4) == 0) return VbrTag::Vbri;
  return VbrTag::None;
}

bool readStreamHeader(const uint8_t* bytes, int32_t length, const DecoderOptions& options, MpegFrameHeader& header,
                      int32_t* error) {
  if (length < kStreamHeaderMinBytes) return fail(error, DECODER_ERR_NEED_DATA);
  if (!parseFrameHeader(bytes, header, error)) return false;

  const int32_t tag = vbrTagOffset(header);
  const int32_t sr = sampleRateHz(header.version, header.sampleRateIndex);
  int32_t bitrate = bitrateKbps(header.version, header.layer, header.bitrateIndex) * 1000;

  const uint8_t* t = bytes + tag;  // at most 38 + 18 bytes in: inside the 156
  bool vbr = false;
  bool info = false;
  header.frameCount = 0;
  header.streamBytes = 0;
  const VbrTag kind = vbrTagKind(t);
  if (kind == VbrTag::Xing) {
    if ((readBigEndian32(t + 4) & 3) == 0) return fail(error, DECODER_ERR_BAD_HEADER);
    header.frameCount = static_cast<int32_t>(readBigEndian32(t + 8));
    header.streamBytes = static_cast<int32_t>(readBigEndian32(t + 12));
    vbr = true;
  } else if (kind == VbrTag::Info && (readBigEndian32(t + 4) & 3) != 0) {
    // The constant-bitrate twin of "Xing": same fields, and the frame that
    // holds it is no audio. Without either count it tells nothing, and the
    // frame is decoded like any other.
    header.frameCount = static_cast<int32_t>(readBigEndian32(t + 8));
    header.streamBytes = static_cast<int32_t>(readBigEndian32(t + 12));
    info = true;
  } else if (kind == VbrTag::Vbri) {
    header.streamBytes = static_cast<int32_t>(readBigEndian32(t + 10));
    header.frameCount = static_cast<int32_t>(readBigEndian32(t + 14));
    vbr = true;
  }

  const int32_t slack = header.layer == 1 ? 4 : 1;
  const int32_t firstFrameSize =
      header.layer == 1 ? (bitrate * 12 / sr + header.padding) * 4 : unpaddedSize(header, bitrate, sr) + header.padding;
  if (vbr) {
    int32_t lo = 0, hi = 0;
    for (int32_t i = 1; i <= 14; ++i) {
      const int32_t r = bitrateKbps(header.version, header.layer, i) * 1000;
      if (lo == 0 || r < lo) lo = r;
      if (r > hi) hi = r;
    }
    header.vbrHeaderFrameSize = firstFrameSize;
    header.minFrameSize = unpaddedSize(header, lo, sr);
    header.maxFrameSize = unpaddedSize(header, hi, sr) + slack;
  } else {
    header.minFrameSize = unpaddedSize(header, bitrate, sr);
    header.maxFrameSize = header.minFrameSize + slack;
    header.vbrHeaderFrameSize = info ? firstFrameSize : 0;
  }

  const DecoderOptions& o = options;
  // The options arrive unvalidated; a shift outside 0..2 would be undefined.
  const int32_t shift = o.downsampleShift < 0 ? 0 : (o.downsampleShift > 2 ? 2 : o.downsampleShift);
  int32_t samples = header.layer == 1 ? 384 >> shift : 1152 >> shift;
  if (header.layer == 3 && header.version != 1) samples /= 2;
  header.outputChannels = (header.mode == 3 || (o.outputFlags & 3) != 0) ? 1 : 2;
  header.outputBits = (o.outputFlags & 8) ? 8 : 16;
  header.outputBytesPerFrame = samples * header.outputChannels * (header.outputBits / 8);
  header.outputSampleRate = sr >> shift;
  header.bitrate = vbr ? 0 : bitrate;
  return true;
}

int32_t frameLength(const MpegFrameHeader& header, int32_t bitrate, int32_t streamSampleRate) {
  const int32_t sr = streamSampleRate;
  if (sr <= 0) return 0;
  if (header.layer == 1) return (bitrate * 12 / sr + header.padding) * 4;
  if (header.layer == 3 && header.version != 1) return (bitrate * 144 / sr) / 2 + header.padding;
  return bitrate * 144 / sr + header.padding;
}

int32_t getDecoderError() { return gDecoder.error; }
void setDecoderError(int32_t error) { gDecoder.error = error; }

int32_t getDecoderOptions(DecoderOptions& out) {
  out = gDecoder.options;
  return 1;
}

int32_t setDecoderOptions(const DecoderOptions& options) {
  gDecoder.options = options;
  return 1;
}

int32_t streamSampleRate() { return gDecoder.streamSampleRate; }
int32_t streamOutputBytesPerFrame() { return gDecoder.outputBytesPerFrame; }

}  // namespace orva

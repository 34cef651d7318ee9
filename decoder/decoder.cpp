// The decoder core: initialisation, stream start with the per-layer
// preparation and handler, frame-by-frame decoding, and the muted handler
// used while the engine measures its way to a seek target.
#include "decoder/decoder.h"

#include "decoder/decoder_internal.h"
#include "decoder/decoder_path.h"
#include "decoder/decoder_state.h"
#include "decoder/layer12.h"
#include "decoder/layer3.h"
#include "decoder/synthesis.h"

namespace orva {
namespace {

void muteHandler(FrameDecodeJob&, const uint8_t*, uint8_t*) {}

using LayerPreparation = bool (*)(const MpegFrameHeader& header);

// Per layer (index layer - 1): preparation and frame handler.
constexpr LayerPreparation kPreparations[3] = {prepareLayer1, prepareLayer2, prepareLayer3};
constexpr LayerHandler kHandlers[3] = {layer1Handler, layer2Handler, layer3Handler};

}  // namespace

bool decoderFullBandwidth() { return gDecoder.fullBandwidthForTesting != 0; }
void setFullBandwidthForTesting(bool on) { gDecoder.fullBandwidthForTesting = on ? 1 : 0; }

void initDecoder() {
  gDecoder.options = DecoderOptions{0, 0, 24000};
  gDecoder.handler = nullptr;
  initSynthesisTables();
  initLayer12Tables();
  initLayer3Tables();
  if (gDecoder.kernels == nullptr) selectDecoderPath(fastestDecoderPath());
}

bool startDecoding(const uint8_t* bytes, int32_t length) {
  MpegFrameHeader header{};
  if (!readStreamHeader(bytes, length, gDecoder.options, header, &gDecoder.error)) return false;
  const LayerPreparation prepare = kPreparations[header.layer - 1];
  if (prepare == nullptr) {
    gDecoder.handler = nullptr;
    gDecoder.error = DECODER_ERR_BAD_HEADER;
    return false;
  }
  resetSynthesis();
  gDecoder.streamSampleRate = sampleRateHz(header.version, header.sampleRateIndex);
  gDecoder.outputBytesPerFrame = header.outputBytesPerFrame;
  gDecoder.streamLayer = header.layer;
  gDecoder.streamVersion = header.version;
  gDecoder.streamMode = header.mode;
  if (!prepare(header)) {
    gDecoder.handler = nullptr;
    gDecoder.error = DECODER_ERR_BAD_HEADER;
    return false;
  }
  gDecoder.handler = kHandlers[header.layer - 1];
  return true;
}

bool decodeFrame(FrameDecodeJob& job) {
  if (job.inputLength <= 4) {
    gDecoder.error = DECODER_ERR_NEED_DATA;
    return false;
  }
  MpegFrameHeader h{};
  if (!parseFrameHeader(job.input, h, &gDecoder.error)) return false;
  job.version = h.version;
  job.layer = h.layer;
  job.hasCrc = h.hasCrc;
  job.bitrateIndex = h.bitrateIndex;
  job.sampleRateIndex = h.sampleRateIndex;
  job.padding = h.padding;
  job.privateBit = h.privateBit;
  job.mode = h.mode;
  job.modeExtension = h.modeExtension;
  job.copyright = h.copyright;
  job.original = h.original;
  job.emphasis = h.emphasis;
  job.bitrate = bitrateKbps(h.version, h.layer, h.bitrateIndex) * 1000;
  const int32_t length = frameLength(h, job.bitrate, gDecoder.streamSampleRate);
  // A length below a header (no stream started) cannot be a frame.
  if (length <= 4) {
    gDecoder.error = DECODER_ERR_BAD_HEADER;
    return false;
  }
  if (job.inputLength < length) {
    gDecoder.error = DECODER_ERR_NEED_DATA;
    return false;
  }
  gDecoder.currentFrameLength = length;
  if (gDecoder.handler != nullptr) gDecoder.handler(job, job.input, job.output);
  job.inputLength = length;
  job.outputLength = gDecoder.outputBytesPerFrame;
  return true;
}

void muteLayerHandler() {
  if (gDecoder.handler != nullptr) gDecoder.handler = muteHandler;
}

void restoreLayerHandler(const MpegFrameHeader& header) {
  if (header.layer < 1 || header.layer > 3 || gDecoder.handler == nullptr) return;
  // Only the stream's own layer has prepared state: a stray header of another
  // layer (a damaged frame at the seek target) brings back the stream's handler.
  const int32_t layer = gDecoder.streamLayer;
  if (layer == 3) resetLayer3Reservoir();
  gDecoder.handler = kHandlers[layer - 1];
}

void restoreLayerHandler(const FrameDecodeJob& job) {
  MpegFrameHeader h{};
  h.layer = job.layer;
  h.version = job.version;
  restoreLayerHandler(h);
}

}  // namespace orva

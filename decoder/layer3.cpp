// Layer III frame handling: stream preparation, the bit reservoir and the
// per-granule pipeline (scale factors, Huffman, requantisation, stereo,
// alias reduction, output). Runs inside decodeFrame on the playback thread.
#include "decoder/layer3.h"

#include <cstring>

#include "decoder/bit_reader.h"
#include "decoder/decoder_internal.h"
#include "decoder/decoder_state.h"
#include "decoder/iso_tables.h"
#include "decoder/synthesis.h"

namespace orva {

namespace {

void writeSilence(uint8_t* output) {
  const bool eight = (gDecoder.options.outputFlags & 8) != 0;
  std::memset(output, eight ? 0x80 : 0, static_cast<size_t>(gDecoder.outputBytesPerFrame));
}

void decodeGranule(const FrameDecodeJob& job, int32_t gr, int32_t nch, int32_t& bitPos, uint8_t* output) {
  Layer3State& L = gLayer3;
  const bool joint = job.mode == 1;
  const bool ms = joint && (job.modeExtension & 2);
  const bool intensity = joint && (job.modeExtension & 1);
  const int32_t version = job.version;
  const int32_t rate = job.sampleRateIndex;
  for (int32_t ch = 0; ch < nch; ++ch) {
    const GranuleChannelInfo& g = L.side.gr[gr][ch];
    BitReader br;
    br.start(L.reservoir, bitPos);
    const int32_t end = bitPos + g.part2_3_length;
    bitPos = end;
    l3ReadScaleFactors(br, version, gr, ch, intensity && ch == 1);
    if (!l3DecodeHuffman(br, gr, ch, end, version, rate)) {
      std::memset(L.quantized[ch], 0, sizeof L.quantized[ch]);  // damaged: silence it
      L.bound[ch] = 0;
    }
  }
  for (int32_t ch = 0; ch < nch; ++ch) l3Requantize(gr, ch, version, rate, ms);
  if (nch == 2) l3Stereo(gr, version, rate, ms, intensity);
  for (int32_t ch = 0; ch < nch; ++ch) l3AliasReduce(gr, ch);
  l3OutputGranule(gr, nch, output, version, rate);
}

}  // namespace

bool prepareLayer3(const MpegFrameHeader& header) {
  Layer3State& L = gLayer3;
  const DecoderOptions& o = gDecoder.options;
  const bool full = decoderFullBandwidth();
  L.fill = 0;
  L.mainDataStart = 0;
  L.mixedLongBands = header.version == 1 ? 8 : 6;
  const int64_t sr = gDecoder.streamSampleRate;
  const int32_t shift = o.downsampleShift < 0 ? 0 : (o.downsampleShift > 2 ? 2 : o.downsampleShift);
  int32_t s = 32 >> shift;
  if (s > 8 && !full) s -= 1;  // the top subband stays silent
  int64_t byBandwidth = (static_cast<int64_t>(o.bandwidthLimitHz) * 64 + sr / 2) / sr;
  if (byBandwidth < 0) byBandwidth = 0;
  L.subbandLimit = byBandwidth < s ? static_cast<int32_t>(byBandwidth) : s;

  const int16_t* le = kLongBandEdges[header.version - 1][header.sampleRateIndex];
  const int16_t* se = kShortBandEdges[header.version - 1][header.sampleRateIndex];
  if (header.version == 1 || full) {
    L.shortLimit = se[13] * 3;
    L.longLimit = le[22];
  } else {  // the last scale-factor band of MPEG-2 and 2.5 is left out
    L.shortLimit = se[12] * 3;
    L.longLimit = le[21];
  }
  const int32_t bySubbands = L.subbandLimit * 18;
  L.lineLimit = L.longLimit + 8 < bySubbands ? L.longLimit + 8 : bySubbands;
  if (L.longLimit > L.lineLimit) L.longLimit = L.lineLimit;
  if (L.shortLimit > L.lineLimit) L.shortLimit = L.lineLimit;
  L.hybridSubbands = (L.lineLimit + 17) / 18;

  L.channels = header.mode == 3 ? 1 : 2;
  L.channelMode = o.outputFlags & 3;
  L.outputStereo = header.mode != 3 && L.channelMode == 0 ? 1 : 0;
  chooseSynthesisLayer3(header.mode);

  std::memset(L.hybrid, 0, sizeof L.hybrid);
  std::memset(L.spectrum, 0, sizeof L.spectrum);
  std::memset(L.quantized, 0, sizeof L.quantized);
  std::memset(L.overlap, 0, sizeof L.overlap);
  std::memset(L.reservoir, 0, sizeof L.reservoir);
  // Side information and scale factors start afresh too, so that a stream
  // decodes to the same bytes whatever was decoded before it.
  std::memset(&L.side, 0, sizeof L.side);
  std::memset(L.scf, 0, sizeof L.scf);
  L.intensityScale = 0;
  L.bound[0] = L.bound[1] = 0;
  L.overlapSubbands[0] = L.overlapSubbands[1] = 0;
  return true;
}

void resetLayer3Reservoir() {
  gLayer3.fill = 0;
  gLayer3.mainDataStart = 0;
}

void layer3Handler(FrameDecodeJob& job, const uint8_t* frame, uint8_t* output) {
  Layer3State& L = gLayer3;
  // Frames of another version or layer than the stream's would not fit the
  // output layout fixed at the start: they play as silence.
  if (job.layer != 3 || job.version != gDecoder.streamVersion) {
    writeSilence(output);
    return;
  }
  const int32_t nch = job.mode == 3 ? 1 : 2;
  const int32_t headerBytes = job.hasCrc ? 6 : 4;
  const int32_t sideBytes = job.version == 1 ? (nch == 1 ? 17 : 32) : (nch == 1 ? 9 : 17);
  const int32_t frameLength = gDecoder.currentFrameLength;
  if (frameLength - headerBytes < sideBytes) {
    writeSilence(output);
    return;
  }
  // The side information is read from a padded copy: the bit reader loads
  // ahead, and a short frame may end right after it.
  uint8_t side[48] = {};
  std::memcpy(side, frame + headerBytes, static_cast<size_t>(sideBytes));
  const bool ms = job.mode == 1 && (job.modeExtension & 2);
  const int32_t mainDataBegin = l3ReadSideInfo(side, job.version, job.mode, ms, L.side);

  int32_t start = L.fill - mainDataBegin;
  if (L.fill > kReservoirMoveAbove) {
    std::memmove(L.reservoir, L.reservoir + L.fill - mainDataBegin, static_cast<size_t>(mainDataBegin));
    start = 0;
    L.fill = mainDataBegin;
  }
  int32_t count = frameLength - headerBytes - sideBytes;
  if (count > kReservoirBytes - L.fill) count = kReservoirBytes - L.fill;
  std::memcpy(L.reservoir + L.fill, frame + headerBytes + sideBytes, static_cast<size_t>(count));
  L.fill += count;
  L.mainDataStart = start;
  if (start < 0) {  // main data lies before what we hold (stream start, seek)
    writeSilence(output);
    return;
  }
  int32_t bitPos = start * 8;
  if (job.version == 1) {
    decodeGranule(job, 0, nch, bitPos, output);
    decodeGranule(job, 1, nch, bitPos, output + gDecoder.outputBytesPerFrame / 2);
  } else {
    decodeGranule(job, 0, nch, bitPos, output);
  }
}

}  // namespace orva

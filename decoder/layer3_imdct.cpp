// Layer III IMDCT (36-point for long blocks, three 12-point for short ones)
// with windowing, overlap-add and frequency inversion, and the granule
// output routines that hand 18 slots of 32 subbands to the synthesis.
#include <cstring>

#include "decoder/decoder_state.h"
#include "decoder/dsp_kernels.h"
#include "decoder/dsp_lanes.h"
#include "decoder/iso_tables.h"
#include "decoder/layer3.h"
#include "decoder/layer3_tables.h"

namespace orva {
namespace {

constexpr float kInversionSign[32] = {1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1,
                                      1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1};

ImdctConstants imdctConstants() {
  const Layer3Tables& t = gL3Tables;
  return ImdctConstants{t.imdctPre, t.imdctHalf, t.dct9Even, t.dct9Odd};
}

// Three 12-point IMDCTs of the interleaved windows in[3k + w], placed at
// 6 + 6w of the 36-sample block; overlap and output 32 apart.
void imdct12x3(const float* in, float* ov, float* out) {
  const auto& c = gL3Tables.cos12;
  const float* win = gL3Tables.window[2];
  float z[36] = {};
  for (int w = 0; w < 3; ++w) {
    float y[12];
    for (int r = 0; r < 6; ++r) {
      float sum = 0.0f;
      for (int k = 0; k < 6; ++k) sum += c[r][k] * in[3 * k + w];
      y[r < 3 ? r : r + 3] = sum;
    }
    for (int i = 0; i < 3; ++i) y[5 - i] = -y[i];
    for (int i = 6; i < 9; ++i) y[17 - i] = y[i];
    for (int i = 0; i < 12; ++i) z[6 + 6 * w + i] += y[i] * win[i];
  }
  for (int t = 0; t < 18; ++t) {
    out[32 * t] = z[t] + ov[32 * t];
    ov[32 * t] = z[18 + t];
  }
}

// One channel's granule into `hybrid` (18 slots x 32 subbands).
void imdctChannel(int32_t gr, int32_t ch, float* hybrid, int32_t version, int32_t rateIndex) {
  Layer3State& L = gLayer3;
  const GranuleChannelInfo& g = L.side.gr[gr][ch];
  const float* lines = L.spectrum[ch];
  float* ov = L.overlap[ch];
  const int32_t lineLimit = L.lineLimit;
  const int32_t bound = L.bound[ch] < lineLimit ? L.bound[ch] : lineLimit;
  const bool shortBlock = g.block_type == 2;
  const bool mixed = shortBlock && g.mixed_block_flag;
  int32_t longBound = !shortBlock ? bound : 0;
  if (mixed) longBound = kLongBandEdges[version - 1][rateIndex][L.mixedLongBands];
  if (longBound > lineLimit) longBound = lineLimit;
  const int32_t longSb = (longBound + 17) / 18;
  int32_t shortSb = shortBlock ? (bound + 17) / 18 : 0;
  if (shortSb < longSb) shortSb = longSb;
  // The low subbands of a mixed block use the normal window, whatever the
  // block type of the rest.
  const int32_t mixedSb = g.mixed_block_flag ? kLongBandEdges[version - 1][rateIndex][L.mixedLongBands] / 18 : 0;
  const float* normal = gL3Tables.window[0];
  const float* win = gL3Tables.window[mixed ? 0 : g.block_type & 3];

  const ImdctConstants c = imdctConstants();
  const DspKernels& k = *gDecoder.kernels;
  const int32_t split = mixedSb < longSb ? mixedSb : longSb;
  k.imdct36Subbands(c, lines, normal, ov, hybrid, 0, split);
  k.imdct36Subbands(c, lines, win, ov, hybrid, split, longSb);
  for (int32_t sb = longSb; sb < shortSb; ++sb) imdct12x3(lines + 18 * sb, ov + sb, hybrid + sb);
  // Above the transformed subbands only the last granule's overlap sounds,
  // and above that nothing; row by row, as the buffers lie.
  const int32_t done = shortSb > L.overlapSubbands[ch] ? shortSb : L.overlapSubbands[ch];
  for (int t = 0; t < 18; ++t) {
    float* out = hybrid + 32 * t;
    float* saved = ov + 32 * t;
    for (int32_t sb = shortSb; sb < done; ++sb) {
      out[sb] = saved[sb];
      saved[sb] = 0.0f;
    }
    for (int32_t sb = done; sb < L.hybridSubbands; ++sb) out[sb] = 0.0f;
  }
  L.overlapSubbands[ch] = done;
  // Frequency inversion: odd slots of odd subbands change sign, written as
  // a product along each row so that it runs whole registers at a time.
  for (int t = 1; t < 18; t += 2) {
    float* row = hybrid + 32 * t;
    for (int32_t s = 0; s < done; ++s) row[s] *= kInversionSign[s];
  }
}

// Down-mix of a two-channel granule into one: the average of the channels.
void mixGranule(int32_t gr, float* hybrid, int32_t version, int32_t rateIndex) {
  Layer3State& L = gLayer3;
  const GranuleChannelInfo& g0 = L.side.gr[gr][0];
  const GranuleChannelInfo& g1 = L.side.gr[gr][1];
  const bool mixed0 = g0.block_type == 2 && g0.mixed_block_flag;
  const bool mixed1 = g1.block_type == 2 && g1.mixed_block_flag;
  const int32_t n = L.hybridSubbands;
  if (g0.block_type == g1.block_type && !mixed0 && !mixed1) {
    // The transform is linear: one IMDCT of the summed spectra, with the
    // right channel's overlap folded into the left's.
    int32_t lines = L.bound[0] > L.bound[1] ? L.bound[0] : L.bound[1];
    if (lines > L.lineLimit) lines = L.lineLimit;
    float* s0 = L.spectrum[0];
    const float* s1 = L.spectrum[1];
    for (int32_t i = 0; i < lines; ++i) s0[i] += s1[i];
    L.bound[0] = lines;
    for (int t = 0; t < 18; ++t) {
      for (int32_t sb = 0; sb < L.overlapSubbands[1]; ++sb) {
        L.overlap[0][32 * t + sb] += L.overlap[1][32 * t + sb];
        L.overlap[1][32 * t + sb] = 0.0f;
      }
    }
    if (L.overlapSubbands[0] < L.overlapSubbands[1]) L.overlapSubbands[0] = L.overlapSubbands[1];
    L.overlapSubbands[1] = 0;
    imdctChannel(gr, 0, hybrid, version, rateIndex);
  } else {
    imdctChannel(gr, 0, hybrid, version, rateIndex);
    imdctChannel(gr, 1, L.scratch, version, rateIndex);
    for (int t = 0; t < 18; ++t) {
      for (int32_t sb = 0; sb < n; ++sb) hybrid[32 * t + sb] += L.scratch[32 * t + sb];
    }
  }
  for (int t = 0; t < 18; ++t) {
    for (int32_t sb = 0; sb < n; ++sb) hybrid[32 * t + sb] *= 0.5f;
  }
}

}  // namespace

void imdct36SubbandsPlain(const ImdctConstants& c, const float* lines, const float* window, float* overlap,
                          float* hybrid, int32_t first, int32_t end) {
  for (int32_t sb = first; sb < end; ++sb) imdct36Lanes(c, lines + 18 * sb, window, overlap + sb, hybrid + sb, 32);
}

void l3OutputGranule(int32_t gr, int32_t frameChannels, uint8_t* output, int32_t version, int32_t rateIndex) {
  Layer3State& L = gLayer3;
  const SynthesisLayer3 synth = gDecoder.synthesis.layer3;
  float* hybrid = L.hybrid[0];
  if (frameChannels == 1) {
    // A single-channel frame feeds every output channel.
    imdctChannel(gr, 0, hybrid, version, rateIndex);
    synth(hybrid, hybrid, output);
    return;
  }
  if (L.outputStereo) {
    imdctChannel(gr, 0, hybrid, version, rateIndex);
    imdctChannel(gr, 1, L.hybrid[1], version, rateIndex);
    synth(hybrid, L.hybrid[1], output);
    return;
  }
  switch (L.channelMode) {
    case 2: imdctChannel(gr, 0, hybrid, version, rateIndex); break;
    case 3: imdctChannel(gr, 1, hybrid, version, rateIndex); break;
    default:  // down-mix, or a two-channel frame inside a single-channel stream
      mixGranule(gr, hybrid, version, rateIndex);
      break;
  }
  synth(hybrid, nullptr, output);
}

}  // namespace orva

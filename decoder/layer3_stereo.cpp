// Layer III requantisation (with the short-block reordering), MS and
// intensity stereo (MPEG-1 and MPEG-2 rules) and alias reduction. Every
// stage stops at the tracked end of the non-zero spectrum.
#include <cstring>

#include "decoder/decoder_state.h"
#include "decoder/iso_tables.h"
#include "decoder/layer3.h"
#include "decoder/layer3_pow43.h"
#include "decoder/layer3_tables.h"

namespace orva {
namespace {

// Applies an intensity ratio pair to lines [begin, end) of the left channel,
// `step` apart.
inline void applyIntensity(float* l, float* r, int32_t begin, int32_t end, int32_t step, const float* ratio) {
  for (int32_t i = begin; i < end; i += step) {
    const float v = l[i];
    l[i] = v * ratio[0];
    r[i] = v * ratio[1];
  }
}

// The (left, right) ratios of an intensity position.
const float* intensityRatio(int32_t version, bool ms, int32_t pos, int32_t maxPos) {
  const Layer3Tables& t = gL3Tables;
  if (version == 1) return t.intensity1[ms][pos < 7 ? pos : 7];
  if (pos >= maxPos) return t.intensity1[ms][7];  // illegal position: as if not coded
  return t.intensity2[gLayer3.intensityScale][ms][pos & 31];
}

// The top band carries no position of its own: it takes the band below's,
// unless that band is not in the intensity region (its scale factor is then
// no position) and the default position applies: 3 (equal) for MPEG-1, 0
// for MPEG-2.
const float* topBandRatio(int32_t version, bool ms, bool belowCoded, int32_t below, int32_t belowMax) {
  if (belowCoded) {
    return version == 1 ? gL3Tables.intensity1[ms][3] : gL3Tables.intensity2[0][ms][0];
  }
  return intensityRatio(version, ms, below, version == 1 ? 8 : belowMax);
}

}  // namespace

void l3Requantize(int32_t gr, int32_t ch, int32_t version, int32_t rateIndex, bool ms) {
  Layer3State& L = gLayer3;
  const Layer3Tables& T = gL3Tables;
  const GranuleChannelInfo& g = L.side.gr[gr][ch];
  const ScaleFactors& sf = L.scf[gr][ch];
  const int32_t* q = L.quantized[ch];
  float* out = L.spectrum[ch];
  const int16_t* le = kLongBandEdges[version - 1][rateIndex];
  const int16_t* se = kShortBandEdges[version - 1][rateIndex];
  const int32_t bound = L.bound[ch];
  int32_t gi = g.global_gain + 6;
  gi = gi < 0 ? 0 : (gi > 261 ? 261 : gi);
  const float a = T.gain[gi];
  const int32_t s = g.scalefac_scale & 1;

  const bool shortBlock = g.block_type == 2;
  const int32_t longBands = !shortBlock ? 22 : (g.mixed_block_flag ? L.mixedLongBands : 0);
  int32_t lastLong = -1;
  int32_t i = 0;
  for (int32_t sfb = 0; sfb < longBands && i < bound; ++sfb) {
    const int32_t p = g.preflag ? kPretab[sfb] : 0;
    const float f = a * T.scale[s][p][sf.l[sfb] & 31];
    const int32_t end = le[sfb + 1] < bound ? le[sfb + 1] : bound;
    int32_t any = 0;
    for (; i < end; ++i) {
      any |= q[i];
      out[i] = l3Pow43(q[i]) * f;
    }
    if (any) lastLong = sfb;
  }
  L.lastLongBand[ch] = lastLong;
  L.lastShortBand[ch][0] = L.lastShortBand[ch][1] = L.lastShortBand[ch][2] = -1;
  if (shortBlock) {
    const int32_t first = g.mixed_block_flag ? 3 : 0;
    for (int32_t sfb = first; sfb < 13 && se[sfb] * 3 < bound; ++sfb) {
      const int32_t width = se[sfb + 1] - se[sfb];
      const int32_t base = se[sfb] * 3;
      for (int32_t w = 0; w < 3; ++w) {
        const float f = a * T.subblock[g.subblock_gain[w] & 7] * T.scale[s][0][sf.s[3 * sfb + w] & 31];
        const int32_t* src = q + base + w * width;
        int32_t any = 0;
        for (int32_t k = 0; k < width; ++k) {
          any |= src[k];
          L.scratch[base + 3 * k + w] = l3Pow43(src[k]) * f;
        }
        if (any) L.lastShortBand[ch][w] = sfb;
      }
      std::memcpy(out + base, L.scratch + base, sizeof(float) * static_cast<size_t>(3 * width));
      i = base + 3 * width;
    }
  }
  std::memset(out + i, 0, sizeof(float) * static_cast<size_t>(576 + 8 - i));
  L.bound[ch] = i;
}

void l3Stereo(int32_t gr, int32_t version, int32_t rateIndex, bool ms, bool intensity) {
  Layer3State& L = gLayer3;
  float* l = L.spectrum[0];
  float* r = L.spectrum[1];
  const int32_t both = L.bound[0] > L.bound[1] ? L.bound[0] : L.bound[1];
  if (ms) {
    // Inside the intensity region the right channel is zero, so the sum and
    // difference there leave mid in both, which the intensity step expects.
    for (int32_t i = 0; i < both; ++i) {
      const float m = l[i], s = r[i];
      l[i] = m + s;
      r[i] = m - s;
    }
  }
  if (intensity) {
    const GranuleChannelInfo& g = L.side.gr[gr][1];
    const ScaleFactors& sf = L.scf[gr][1];
    const int16_t* le = kLongBandEdges[version - 1][rateIndex];
    const int16_t* se = kShortBandEdges[version - 1][rateIndex];
    const int32_t end = L.bound[0];
    const int32_t lsfMax = version == 1 ? 8 : 0;
    if (g.block_type == 2) {
      const int32_t first = g.mixed_block_flag ? 3 : 0;
      int32_t highest = -1;
      for (int32_t w = 0; w < 3; ++w) {
        int32_t sfb = L.lastShortBand[1][w] + 1;
        if (sfb < first) sfb = first;
        if (L.lastShortBand[1][w] > highest) highest = L.lastShortBand[1][w];
        for (; sfb < 13; ++sfb) {
          const float* ratio =
              sfb < 12 ? intensityRatio(version, ms, sf.s[3 * sfb + w], version == 1 ? lsfMax : sf.isMaxShort[sfb])
                       : topBandRatio(version, ms, L.lastShortBand[1][w] >= 11, sf.s[33 + w], sf.isMaxShort[11]);
          const int32_t begin = se[sfb] * 3 + w;
          int32_t stop = se[sfb + 1] * 3;
          if (stop > end) stop = end;
          applyIntensity(l, r, begin, stop, 3, ratio);
        }
      }
      if (g.mixed_block_flag && highest < 0) {
        // Nothing of the right channel in the short part: the long part may
        // hold intensity bands too.
        for (int32_t sfb = L.lastLongBand[1] + 1; sfb < L.mixedLongBands; ++sfb) {
          const int32_t maxPos = version == 1 ? lsfMax : sf.isMaxLong[sfb];
          const float* ratio = intensityRatio(version, ms, sf.l[sfb], maxPos);
          applyIntensity(l, r, le[sfb], le[sfb + 1] < end ? le[sfb + 1] : end, 1, ratio);
        }
      }
    } else {
      for (int32_t sfb = L.lastLongBand[1] + 1; sfb < 22; ++sfb) {
        const float* ratio = sfb < 21
                                 ? intensityRatio(version, ms, sf.l[sfb], version == 1 ? lsfMax : sf.isMaxLong[sfb])
                                 : topBandRatio(version, ms, L.lastLongBand[1] >= 20, sf.l[20], sf.isMaxLong[20]);
        applyIntensity(l, r, le[sfb], le[sfb + 1] < end ? le[sfb + 1] : end, 1, ratio);
      }
    }
  }
  if (ms || intensity) {
    const int32_t b = L.bound[0] > L.bound[1] ? L.bound[0] : L.bound[1];
    L.bound[0] = L.bound[1] = b;
  }
}

void l3AliasReduce(int32_t gr, int32_t ch) {
  Layer3State& L = gLayer3;
  const GranuleChannelInfo& g = L.side.gr[gr][ch];
  if (g.block_type == 2 && !g.mixed_block_flag) return;
  int32_t m = g.mixed_block_flag && g.block_type == 2 ? 1 : (L.bound[ch] + 7) / 18;
  if (m > 31) m = 31;
  float* x = L.spectrum[ch];
  const float* cs = gL3Tables.cs;
  const float* ca = gL3Tables.ca;
  for (int32_t k = 1; k <= m; ++k) {
    float* lo = x + 18 * k - 1;
    float* hi = x + 18 * k;
    for (int i = 0; i < 8; ++i) {
      const float a = lo[-i], b = hi[i];
      lo[-i] = a * cs[i] - b * ca[i];
      hi[i] = b * cs[i] + a * ca[i];
    }
  }
  if (m > 0 && L.bound[ch] < m * 18 + 8) L.bound[ch] = m * 18 + 8;
}

}  // namespace orva

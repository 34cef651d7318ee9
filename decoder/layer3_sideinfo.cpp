// Layer III side information and scale factors (MPEG-1 with scfsi reuse;
// MPEG-2 and 2.5 with the scalefac_compress classes and their intensity
// variant for the right channel).
#include <cstring>

#include "decoder/bit_reader.h"
#include "decoder/decoder_state.h"
#include "decoder/layer3.h"

namespace orva {
namespace {

// slen1 and slen2 by scalefac_compress, ISO/IEC 11172-3 2.4.2.7.
constexpr uint8_t kSlen1[16] = {0, 0, 0, 0, 3, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4};
constexpr uint8_t kSlen2[16] = {0, 1, 2, 3, 0, 1, 2, 3, 1, 2, 3, 1, 2, 3, 2, 3};

// nr_of_sfb, ISO/IEC 13818-3 Table B.2.4.3.2: [class][long, short, mixed][part].
constexpr uint8_t kNrOfSfb[6][3][4] = {
    {{6, 5, 5, 5}, {9, 9, 9, 9}, {6, 9, 9, 9}},       {{6, 5, 7, 3}, {9, 9, 12, 6}, {6, 9, 12, 6}},
    {{11, 10, 0, 0}, {18, 18, 0, 0}, {15, 18, 0, 0}}, {{7, 7, 7, 0}, {12, 12, 12, 0}, {6, 15, 12, 0}},
    {{6, 6, 6, 3}, {12, 9, 9, 6}, {6, 12, 9, 6}},     {{8, 8, 5, 0}, {15, 12, 9, 0}, {6, 18, 9, 0}},
};

void readGranuleChannel(BitReader& br, int32_t version, bool ms, GranuleChannelInfo& g) {
  g.part2_3_length = static_cast<int32_t>(br.read(12));
  g.big_values = static_cast<int32_t>(br.read(9));
  // Stored 2 lower with MS on: both channels then carry the 1/sqrt(2) of
  // the MS matrix, and the MS step is a plain sum and difference.
  g.global_gain = static_cast<int32_t>(br.read(8)) - (ms ? 2 : 0);
  g.scalefac_compress = static_cast<int32_t>(br.read(version == 1 ? 4 : 9));
  g.window_switching_flag = static_cast<int32_t>(br.read(1));
  if (g.window_switching_flag) {
    g.block_type = static_cast<int32_t>(br.read(2));
    g.mixed_block_flag = static_cast<int32_t>(br.read(1));
    g.table_select[0] = static_cast<int32_t>(br.read(5));
    g.table_select[1] = static_cast<int32_t>(br.read(5));
    g.table_select[2] = 0;
    for (int w = 0; w < 3; ++w) g.subblock_gain[w] = static_cast<int32_t>(br.read(3));
    const bool lsfShort = version != 1 && g.block_type == 2;
    g.region0_count = lsfShort ? 5 : 7;
    g.region1_count = lsfShort ? 15 : 13;
  } else {
    g.block_type = 0;
    g.mixed_block_flag = 0;
    for (int r = 0; r < 3; ++r) g.table_select[r] = static_cast<int32_t>(br.read(5));
    g.subblock_gain[0] = g.subblock_gain[1] = g.subblock_gain[2] = 0;
    g.region0_count = static_cast<int32_t>(br.read(4));
    g.region1_count = static_cast<int32_t>(br.read(3));
  }
  g.preflag = version == 1 ? static_cast<int32_t>(br.read(1)) : 0;
  g.scalefac_scale = static_cast<int32_t>(br.read(1));
  g.count1table_select = static_cast<int32_t>(br.read(1));
}

void readScaleFactorsMpeg1(BitReader& br, int32_t gr, int32_t ch) {
  const GranuleChannelInfo& g = gLayer3.side.gr[gr][ch];
  ScaleFactors& sf = gLayer3.scf[gr][ch];
  const int32_t slen1 = kSlen1[g.scalefac_compress & 15];
  const int32_t slen2 = kSlen2[g.scalefac_compress & 15];
  if (g.block_type == 2) {
    // A short granule has no long scale factors past the mixed part; a
    // second granule that reuses them (scfsi) gets zeros, not whatever an
    // earlier frame, or an earlier file, left there.
    std::memset(sf.l, 0, sizeof sf.l);
    int32_t sfb = 0;
    if (g.mixed_block_flag) {
      for (; sfb < 8; ++sfb) sf.l[sfb] = static_cast<uint8_t>(br.read(slen1));
      sfb = 3;
    }
    for (; sfb < 12; ++sfb) {
      const int32_t slen = sfb < 6 ? slen1 : slen2;
      for (int w = 0; w < 3; ++w) sf.s[3 * sfb + w] = static_cast<uint8_t>(br.read(slen));
    }
    sf.s[36] = sf.s[37] = sf.s[38] = 0;
    return;
  }
  static constexpr int8_t kGroupEnd[4] = {6, 11, 16, 21};
  int32_t sfb = 0;
  for (int32_t group = 0; group < 4; ++group) {
    const bool reuse = gr == 1 && gLayer3.side.scfsi[ch][group] != 0;
    const int32_t slen = group < 2 ? slen1 : slen2;
    for (; sfb < kGroupEnd[group]; ++sfb) {
      sf.l[sfb] = reuse ? gLayer3.scf[0][ch].l[sfb] : static_cast<uint8_t>(br.read(slen));
    }
  }
  sf.l[21] = 0;
}

void readScaleFactorsMpeg2(BitReader& br, int32_t gr, int32_t ch, bool intensityRight) {
  GranuleChannelInfo& g = gLayer3.side.gr[gr][ch];
  ScaleFactors& sf = gLayer3.scf[gr][ch];
  int32_t sfc = g.scalefac_compress;
  int32_t slen[4] = {0, 0, 0, 0};
  int32_t cls = 0;
  if (intensityRight) {
    gLayer3.intensityScale = sfc & 1;
    sfc >>= 1;
    if (sfc < 180) {
      slen[0] = sfc / 36, slen[1] = (sfc % 36) / 6, slen[2] = sfc % 6, cls = 3;
    } else if (sfc < 244) {
      sfc -= 180;
      slen[0] = (sfc & 63) >> 4, slen[1] = (sfc & 15) >> 2, slen[2] = sfc & 3, cls = 4;
    } else {
      sfc -= 244;
      slen[0] = sfc / 3, slen[1] = sfc % 3, cls = 5;
    }
  } else if (sfc < 400) {
    slen[0] = (sfc >> 4) / 5, slen[1] = (sfc >> 4) % 5, slen[2] = (sfc & 15) >> 2, slen[3] = sfc & 3, cls = 0;
  } else if (sfc < 500) {
    sfc -= 400;
    slen[0] = (sfc >> 2) / 5, slen[1] = (sfc >> 2) % 5, slen[2] = sfc & 3, cls = 1;
  } else {
    sfc -= 500;
    slen[0] = sfc / 3, slen[1] = sfc % 3, cls = 2;
    g.preflag = 1;
  }
  const int32_t kind = g.block_type == 2 ? (g.mixed_block_flag ? 2 : 1) : 0;
  const uint8_t* nr = kNrOfSfb[cls][kind];
  // Values in stream order: long bands, then short bands window by window.
  uint8_t values[39];
  uint8_t maxima[39];
  int32_t n = 0;
  for (int32_t part = 0; part < 4; ++part) {
    const int32_t bits = slen[part] > 5 ? 5 : slen[part];  // MPEG-2.5 classes stay below 32
    for (int32_t i = 0; i < nr[part] && n < 39; ++i, ++n) {
      values[n] = static_cast<uint8_t>(br.read(bits));
      maxima[n] = static_cast<uint8_t>((1 << bits) - 1);
    }
  }
  for (; n < 39; ++n) values[n] = 0, maxima[n] = 0;
  if (kind == 0) {
    for (int32_t b = 0; b < 21; ++b) sf.l[b] = values[b], sf.isMaxLong[b] = maxima[b];
    sf.l[21] = 0;
    sf.isMaxLong[21] = sf.isMaxLong[20];
    return;
  }
  int32_t first = 0;
  int32_t k = 0;
  if (kind == 2) {
    for (int32_t b = 0; b < 6; ++b) sf.l[b] = values[b], sf.isMaxLong[b] = maxima[b];
    first = 3;
    k = 6;
  }
  for (int32_t b = first; b < 12; ++b) {
    for (int w = 0; w < 3; ++w, ++k) sf.s[3 * b + w] = values[k];
    sf.isMaxShort[b] = maxima[k - 1];
  }
  sf.s[36] = sf.s[37] = sf.s[38] = 0;
  sf.isMaxShort[12] = sf.isMaxShort[11];
}

}  // namespace

int32_t l3ReadSideInfo(const uint8_t* bytes, int32_t version, int32_t mode, bool ms, SideInfo& side) {
  BitReader br;
  br.start(bytes, 0);
  const int32_t nch = mode == 3 ? 1 : 2;
  if (version == 1) {
    side.main_data_begin = static_cast<int32_t>(br.read(9));
    br.read(nch == 1 ? 5 : 3);  // private_bits
    for (int32_t ch = 0; ch < nch; ++ch) {
      for (int b = 0; b < 4; ++b) side.scfsi[ch][b] = static_cast<int32_t>(br.read(1));
    }
    for (int32_t gr = 0; gr < 2; ++gr) {
      for (int32_t ch = 0; ch < nch; ++ch) readGranuleChannel(br, version, ms, side.gr[gr][ch]);
    }
  } else {
    side.main_data_begin = static_cast<int32_t>(br.read(8));
    br.read(nch == 1 ? 1 : 2);  // private_bits
    for (int32_t ch = 0; ch < nch; ++ch) readGranuleChannel(br, version, ms, side.gr[0][ch]);
  }
  return side.main_data_begin;
}

void l3ReadScaleFactors(BitReader& br, int32_t version, int32_t gr, int32_t ch, bool intensityRight) {
  if (version == 1) {
    readScaleFactorsMpeg1(br, gr, ch);
  } else {
    readScaleFactorsMpeg2(br, gr, ch, intensityRight);
  }
}

}  // namespace orva

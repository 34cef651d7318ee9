// Layer I and II tables: the quantisation classes, the MPEG-1 Layer II
// table choice, and the factors, scale factor multipliers and degrouping
// tables computed once by initDecoder.
#include <cmath>

#include "decoder/layer12.h"

namespace orva {

Layer12Tables gL12Tables;

// Layer II quantisation classes, ISO/IEC 11172-3 Table 3-B.4: levels, and
// bits of three samples (classes 1, 2 and 4 send one grouped code).
const int32_t kLayer2ClassLevels[18] = {0,   3,   5,    7,    9,    15,   31,    63,    127,
                                        255, 511, 1023, 2047, 4095, 8191, 16383, 32767, 65535};
const uint8_t kLayer2ClassBits[18] = {0, 5, 7, 9, 10, 12, 15, 18, 21, 24, 27, 30, 33, 36, 39, 42, 45, 48};

namespace {

// MPEG-1 Layer II bitrates in kbit/s by index (ISO/IEC 11172-3 Table 3-B.1
// header bitrate_index).
constexpr int32_t kLayer2Kbps[16] = {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0};

// The rule behind ISO/IEC 11172-3 Tables 3-B.2a-d: by sampling rate (index
// 0 = 44.1, 1 = 48, 2 = 32 kHz) and bitrate per channel. Table a: 48 kHz
// 56-192, 44.1 and 32 kHz 56-80; b: 44.1 and 32 kHz 96-192; c: 44.1 and 48
// kHz 32-48; d: 32 kHz 32-48 kbit/s.
constexpr int32_t byChannelRate(int32_t rateIndex, int32_t perChannel) {
  if (perChannel <= 48) return rateIndex == 2 ? 3 : 2;
  if (perChannel <= 80) return 0;
  return rateIndex == 1 ? 0 : 1;
}

// The per-channel rates those tables list; other combinations (two-channel
// 32, 48, 56 and 80 kbit/s, single channel from 224 kbit/s) are not allowed.
constexpr bool listedChannelRate(int32_t perChannel) {
  constexpr int32_t kListed[10] = {32, 48, 56, 64, 80, 96, 112, 128, 160, 192};
  for (int32_t r : kListed) {
    if (r == perChannel) return true;
  }
  return false;
}

constexpr int32_t kNotAllowed = 0x10;

// [single channel][sampling-rate index][bitrate index]: the table, with
// kNotAllowed added where the standard allows no Layer II stream; -1 for
// the indexes that are no bitrate.
struct Selection {
  int8_t table[2][3][16];
};
constexpr Selection buildSelection() {
  Selection s{};
  for (int32_t mono = 0; mono < 2; ++mono) {
    for (int32_t rate = 0; rate < 3; ++rate) {
      for (int32_t i = 0; i < 16; ++i) {
        const int32_t perChannel = mono ? kLayer2Kbps[i] : kLayer2Kbps[i] / 2;
        const int32_t t = byChannelRate(rate, perChannel) + (listedChannelRate(perChannel) ? 0 : kNotAllowed);
        s.table[mono][rate][i] = static_cast<int8_t>(i == 0 || i == 15 ? -1 : t);
      }
    }
  }
  return s;
}
constexpr Selection kSelection = buildSelection();

int32_t selection(int32_t mode, int32_t sampleRateIndex, int32_t bitrateIndex) {
  if (sampleRateIndex < 0 || sampleRateIndex > 2 || bitrateIndex < 0 || bitrateIndex > 15) return -1;
  return kSelection.table[mode == 3 ? 1 : 0][sampleRateIndex][bitrateIndex];
}

void buildDegroup(int8_t* out, int32_t codes, int32_t levels) {
  const int32_t centre = (levels - 1) / 2;
  for (int32_t c = 0; c < codes; ++c) {
    int32_t v = c;
    for (int32_t k = 0; k < 3; ++k) {
      out[3 * c + k] = static_cast<int8_t>(v % levels - centre);
      v /= levels;
    }
  }
}

}  // namespace

int32_t l2TableByChannelRate(int32_t mode, int32_t sampleRateIndex, int32_t bitrateIndex) {
  const int32_t t = selection(mode, sampleRateIndex, bitrateIndex);
  return t < 0 ? -1 : t & ~kNotAllowed;
}

int32_t l2SelectTable(int32_t mode, int32_t sampleRateIndex, int32_t bitrateIndex) {
  const int32_t t = selection(mode, sampleRateIndex, bitrateIndex);
  return t < 0 || (t & kNotAllowed) ? -1 : t;
}

void initLayer12Tables() {
  Layer12Tables& t = gL12Tables;
  t.layer1Factor[0] = 0.0f;
  for (int32_t a = 1; a < 16; ++a) t.layer1Factor[a] = static_cast<float>(2.0 / ((1 << (a + 1)) - 1));
  t.classFactor[0] = 0.0f;
  for (int32_t c = 1; c < 18; ++c) t.classFactor[c] = static_cast<float>(2.0 / kLayer2ClassLevels[c]);
  for (int32_t i = 0; i < 64; ++i) t.multiplier[i] = static_cast<float>(65536.0 * std::pow(2.0, -i / 3.0));
  buildDegroup(t.degroup3, 32, 3);
  buildDegroup(t.degroup5, 128, 5);
  buildDegroup(t.degroup9, 1024, 9);
}

}  // namespace orva

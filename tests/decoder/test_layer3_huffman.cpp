// Layer III Huffman decoding and the power table: the one-step lookups
// against codes of the standard's tables and against a bit-at-a-time walk
// of the multi-level tables, whole granules of random bits (short and
// overrunning ones included) against a one-pair-at-a-time reference, and
// the |x|^(4/3) values with their signs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "decoder/bit_reader.h"
#include "decoder/decoder.h"
#include "decoder/decoder_state.h"
#include "decoder/iso_tables.h"
#include "decoder/layer3.h"
#include "decoder/layer3_huffman_lookup.h"
#include "decoder/layer3_pow43.h"

namespace orva {
namespace {

// A bit position over bytes; reads zeros past the end.
struct SlowBits {
  const std::vector<uint8_t>* bytes;
  int32_t pos = 0;
  uint32_t bit(int32_t at) const {
    const size_t byte = static_cast<size_t>(at >> 3);
    return byte < bytes->size() ? ((*bytes)[byte] >> (7 - (at & 7))) & 1u : 0u;
  }
  uint32_t peek(int32_t n) const {
    uint32_t v = 0;
    for (int32_t i = 0; i < n; ++i) v = (v << 1) | bit(pos + i);
    return v;
  }
  uint32_t read(int32_t n) {
    const uint32_t v = peek(n);
    pos += n;
    return v;
  }
};

// The multi-level table, one level at a time.
int32_t walk(const HuffmanTable& h, SlowBits& r) {
  const int16_t* t = kHuffmanEntries + h.first;
  int32_t bits = h.rootBits, base = 0;
  for (;;) {
    const int32_t e = t[base + static_cast<int32_t>(r.peek(bits))];
    if (e >= 0) {
      r.pos += e >> 8;
      return e & 255;
    }
    r.pos += bits;
    base = (-e) >> 4;
    bits = (-e) & 15;
  }
}

int32_t signedValue(int32_t v, int32_t linbits, SlowBits& r) {
  if (v == 15 && linbits) v += static_cast<int32_t>(r.read(linbits));
  if (v && r.read(1)) v = -v;
  return v;
}

std::vector<uint8_t> bitsOf(uint32_t pattern, int32_t width) {
  std::vector<uint8_t> b(8, 0);
  for (int32_t i = 0; i < width; ++i) {
    if ((pattern >> (width - 1 - i)) & 1) b[static_cast<size_t>(i >> 3)] |= static_cast<uint8_t>(0x80 >> (i & 7));
  }
  return b;
}

class Layer3Huffman : public ::testing::Test {
 protected:
  void SetUp() override { initDecoder(); }
};

TEST_F(Layer3Huffman, LookupsHoldTheStandardsShortCodes) {
  // Table 1: 1 -> (0,0); 001 s -> (0,±1); 01 s -> (±1,0); 000 s s -> (±1,±1).
  const PairLookup& one = l3PairLookup(1);
  ASSERT_EQ(one.bits, 5);
  auto at = [&](uint32_t p) { return one.entries[p]; };
  EXPECT_EQ(at(0b10000).x, 0);
  EXPECT_EQ(at(0b10000).length, 1);
  EXPECT_EQ(at(0b00110).y, -1);
  EXPECT_EQ(at(0b00100).y, 1);
  EXPECT_EQ(at(0b00110).length, 4);
  EXPECT_EQ(at(0b01100).x, -1);
  EXPECT_EQ(at(0b01000).length, 3);
  EXPECT_EQ(at(0b00001).x, 1);
  EXPECT_EQ(at(0b00001).y, -1);
  EXPECT_EQ(at(0b00001).length, 5);
  for (uint32_t p = 0; p < 32; ++p) EXPECT_EQ(at(p).isSigned, 1) << p;

  // count1 table B: the 4-bit code is vwxy inverted, then a sign per one.
  const QuadLookup& b = l3QuadLookup(1);
  ASSERT_EQ(b.bits, 8);
  for (uint32_t p = 0; p < 256; ++p) {
    const uint32_t vwxy = ~(p >> 4) & 15;
    int32_t signAt = 4, ones = 0;
    for (int32_t k = 0; k < 4; ++k) {
      int32_t want = (vwxy >> (3 - k)) & 1;
      if (want) {
        if ((p >> (7 - signAt)) & 1) want = -1;
        ++signAt, ++ones;
      }
      EXPECT_EQ(b.entries[p].v[k], want) << p;
    }
    EXPECT_EQ(b.entries[p].length, 4 + ones) << p;
  }
}

TEST_F(Layer3Huffman, EveryLookupEntryDecodesAsTheMultiLevelTables) {
  for (int32_t s = 0; s < 32; ++s) {
    const HuffmanTable& h = kHuffmanTables[s];
    const PairLookup& lk = l3PairLookup(s);
    if (h.rootBits == 0) {
      EXPECT_EQ(lk.entries, nullptr) << s;
      continue;
    }
    ASSERT_NE(lk.entries, nullptr) << s;
    ASSERT_LE(lk.bits, kPairLookupMaxBits);
    int32_t resolved = 0;
    for (uint32_t p = 0; p < (1u << lk.bits); ++p) {
      const std::vector<uint8_t> bytes = bitsOf(p, lk.bits);
      SlowBits r{&bytes};
      const int32_t v = walk(h, r);
      const PairLookupEntry e = lk.entries[p];
      if (e.length == 0) {
        EXPECT_GT(r.pos, lk.bits) << "table " << s << " pattern " << p;
        continue;
      }
      EXPECT_EQ(e.length, e.isSigned ? r.pos + (v >> 4 != 0) + ((v & 15) != 0) : r.pos) << s << " " << p;
      if (e.isSigned) {
        EXPECT_FALSE(h.linbits && ((v >> 4) == 15 || (v & 15) == 15)) << "escape signed early in table " << s;
        EXPECT_EQ(e.x, signedValue(v >> 4, h.linbits, r)) << s << " " << p;
        EXPECT_EQ(e.y, signedValue(v & 15, h.linbits, r)) << s << " " << p;
        ++resolved;
      } else {
        EXPECT_EQ(e.x, v >> 4);
        EXPECT_EQ(e.y, v & 15);
      }
    }
    EXPECT_GT(resolved, 0) << s;
  }
  for (int32_t c = 0; c < 2; ++c) {
    const QuadLookup& lk = l3QuadLookup(c);
    for (uint32_t p = 0; p < (1u << lk.bits); ++p) {
      const std::vector<uint8_t> bytes = bitsOf(p, lk.bits);
      SlowBits r{&bytes};
      const int32_t v = walk(kHuffmanTables[32 + c], r);
      for (int32_t k = 0; k < 4; ++k) EXPECT_EQ(lk.entries[p].v[k], signedValue((v >> (3 - k)) & 1, 0, r));
      EXPECT_EQ(lk.entries[p].length, r.pos);
    }
  }
}

struct Granule {
  int32_t q[576 + 4];  // a last quadruple may start at 574
  int32_t bound;
  int32_t position;
  bool inside;
};

// One pair at a time, checking the overrun limit after each.
Granule referenceDecode(const std::vector<uint8_t>& bytes, const GranuleChannelInfo& g, int32_t endBit) {
  Granule out{};
  SlowBits r{&bytes};
  const int16_t* edges = kLongBandEdges[0][0];
  const int32_t limit = ((endBit + 39) >> 3) * 8 + 8;
  const int32_t bigEnd = g.big_values * 2 < 576 ? g.big_values * 2 : 576;
  const int32_t r1 = std::min<int32_t>(edges[std::min(g.region0_count + 1, 22)], bigEnd);
  const int32_t r2 =
      std::max(r1, std::min<int32_t>(edges[std::min(g.region0_count + g.region1_count + 2, 22)], bigEnd));
  const int32_t regionEnd[3] = {r1, r2, bigEnd};
  int32_t nz = 0, i = 0;
  for (int32_t region = 0; region < 3; ++region) {
    const HuffmanTable& h = kHuffmanTables[g.table_select[region]];
    for (; i < regionEnd[region] && r.pos <= limit; i += 2) {
      const int32_t v = h.rootBits ? walk(h, r) : 0;
      out.q[i] = signedValue(v >> 4, h.linbits, r);
      out.q[i + 1] = signedValue(v & 15, h.linbits, r);
      if (out.q[i] | out.q[i + 1]) nz = i + 2;
    }
    i = regionEnd[region];  // past the limit the rest stays zero
  }
  const HuffmanTable& c1 = kHuffmanTables[32 + g.count1table_select];
  const int32_t need = g.count1table_select ? 4 : 1;
  while (i < 576 && endBit - r.pos >= need) {
    const int32_t v = walk(c1, r);
    int32_t vals[4];
    for (int32_t k = 0; k < 4; ++k) vals[k] = signedValue((v >> (3 - k)) & 1, 0, r);
    if (r.pos > endBit) break;
    for (int32_t k = 0; k < 4; ++k) out.q[i + k] = vals[k];
    if (vals[0] | vals[1]) nz = i + 2;
    if (vals[2] | vals[3]) nz = i + 4;
    i += 4;
  }
  nz = std::min(nz, 576);  // a quadruple starting at 574 keeps its first pair
  for (int32_t k = nz; k < 576 + 4; ++k) out.q[k] = 0;
  out.bound = nz;
  out.position = r.pos;
  out.inside = r.pos <= limit;
  return out;
}

Granule fastDecode(const std::vector<uint8_t>& bytes, const GranuleChannelInfo& g, int32_t endBit) {
  Layer3State& L = gLayer3;
  L.lineLimit = L.longLimit = L.shortLimit = 576;
  L.side.gr[0][0] = g;
  BitReader br;
  br.start(bytes.data(), 0);
  Granule out{};
  out.inside = l3DecodeHuffman(br, 0, 0, endBit, 1, 0);
  std::memcpy(out.q, L.quantized[0], sizeof(int32_t) * 576);
  out.bound = L.bound[0];
  out.position = br.position();
  return out;
}

TEST_F(Layer3Huffman, RandomGranulesMatchAPairAtATimeReference) {
  uint32_t seed = 12345;
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed >> 8;
  };
  // Long enough for every granule and the reader's look-ahead past it.
  std::vector<uint8_t> bytes(1200);
  const int32_t endBits[4] = {60, 700, 2500, 8000};  // overrun early, mid-region, in count1, none
  for (int32_t s = 0; s < 32; ++s) {
    for (int32_t trial = 0; trial < 8; ++trial) {
      for (uint8_t& b : bytes) b = static_cast<uint8_t>(next());
      GranuleChannelInfo g{};
      g.big_values = static_cast<int32_t>(next() % 289);
      g.table_select[0] = s;
      g.table_select[1] = static_cast<int32_t>(next() % 32);
      g.table_select[2] = static_cast<int32_t>(next() % 32);
      g.region0_count = static_cast<int32_t>(next() % 16);
      g.region1_count = static_cast<int32_t>(next() % 8);
      g.count1table_select = static_cast<int32_t>(next() & 1);
      const int32_t endBit = endBits[trial % 4];
      const Granule want = referenceDecode(bytes, g, endBit);
      const Granule got = fastDecode(bytes, g, endBit);
      ASSERT_EQ(std::memcmp(want.q, got.q, sizeof(int32_t) * 576), 0) << "table " << s << " trial " << trial;
      EXPECT_EQ(got.bound, want.bound) << s << " " << trial;
      EXPECT_EQ(got.position, want.position) << s << " " << trial;
      EXPECT_EQ(got.inside, want.inside) << s << " " << trial;
    }
  }
}

TEST_F(Layer3Huffman, PowerTableCoversEveryMagnitudeWithItsSign) {
  EXPECT_EQ(l3Pow43(0), 0.0f);
  EXPECT_FALSE(std::signbit(l3Pow43(0)));
  const int32_t exact[][2] = {{1, 1}, {8, 16}, {27, 81}, {64, 256}, {125, 625}, {1000, 10000}, {4096, 65536}};
  for (const auto& p : exact) {
    EXPECT_FLOAT_EQ(l3Pow43(p[0]), static_cast<float>(p[1]));
    EXPECT_EQ(l3Pow43(-p[0]), -l3Pow43(p[0]));
  }
  const int32_t largest = 15 + 8191;  // table 23's escape with 13 linbits
  ASSERT_EQ(kPow43Size, largest + 1);
  EXPECT_FLOAT_EQ(l3Pow43(largest), static_cast<float>(std::pow(8206.0, 4.0 / 3.0)));
  EXPECT_EQ(l3Pow43(-largest), -l3Pow43(largest));
  for (int32_t m = 1; m < kPow43Size; ++m) ASSERT_GT(gPow43[m], gPow43[m - 1]) << m;
}

}  // namespace
}  // namespace orva

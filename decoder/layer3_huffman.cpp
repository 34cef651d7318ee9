// Layer III Huffman decoding of one granule and channel: the three
// big-value regions (pairs with linbits and signs) and the count1 region
// (quadruples), bounded by the line limit and by the granule's bits.
#include <cstring>

#include "decoder/bit_reader.h"
#include "decoder/decoder_state.h"
#include "decoder/iso_tables.h"
#include "decoder/layer3.h"
#include "decoder/layer3_huffman_lookup.h"

namespace orva {
namespace {

// One code of a table: returns the leaf's 8-bit value.
inline int32_t huffmanDecode(BitReader& br, const int16_t* t, int32_t bits) {
  int32_t e = t[br.peek(bits)];
  while (e < 0) {
    br.skip(bits);
    const int32_t v = -e;
    bits = v & 15;
    e = t[(v >> 4) + br.peek(bits)];
  }
  br.skip(e >> 8);
  return e & 255;
}

// Extends a magnitude of 15 by its linbits (tables 16..31) and gives a
// non-zero value its sign: the slow path for codes the lookup leaves open.
inline int32_t finishValue(BitReader& br, int32_t v, int32_t linbits) {
  if (v == 15 && linbits) {
    v += static_cast<int32_t>(br.peek(linbits));
    br.skip(linbits);
  }
  if (v) {
    if (br.peek(1)) v = -v;
    br.skip(1);
  }
  return v;
}

// Most bits one pair can take: a 17-bit code and two values of 13 linbits
// and a sign (table 23); table 13's 19-bit code has no linbits.
constexpr int32_t kMaxPairBits = 17 + 2 * (13 + 1);
static_assert(56 - kMaxPairBits >= kPairLookupMaxBits, "a lookup must fit in what a pair leaves of a refill");

struct PairDecoder {
  PairLookup lookup;
  const int16_t* table;
  int32_t rootBits;
  int32_t linbits;

  // One pair into q[0], q[1]; returns whether either is non-zero. The
  // reader holds at least 11 bits, enough for the lookup: it was refilled
  // to 56 before the last pair, which took at most 45. The refill after
  // the lookup then runs beside the table load instead of before it.
  bool decode(BitReader& br, int32_t* q) const {
    const PairLookupEntry e = lookup.entries[br.peek(lookup.bits)];
    br.refill();
    int32_t x = e.x, y = e.y;
    if (!e.isSigned) {
      if (e.length) {
        br.skip(e.length);
      } else {
        const int32_t v = huffmanDecode(br, table, rootBits);
        x = v >> 4, y = v & 15;
      }
      x = finishValue(br, x, linbits);
      y = finishValue(br, y, linbits);
    } else {
      br.skip(e.length);
    }
    q[0] = x;
    q[1] = y;
    return (x | y) != 0;
  }
};

// Pairs over [begin, end) with table `select`; returns the end of the last
// non-zero pair, or `nz` when none. Stops after the pair that takes the
// reader past `limit`.
int32_t decodePairs(BitReader& reader, int32_t* q, int32_t begin, int32_t end, int32_t select, int32_t limit,
                    int32_t nz) {
  const HuffmanTable& h = kHuffmanTables[select & 31];
  if (h.rootBits == 0) {  // table 0 (and the unused 4 and 14): all zero, no bits
    std::memset(q + begin, 0, sizeof(int32_t) * static_cast<size_t>(end > begin ? end - begin : 0));
    return nz;
  }
  const PairDecoder pairs{l3PairLookup(select), kHuffmanEntries + h.first, h.rootBits, h.linbits};
  // A local copy stays in registers: the stores to q could alias a member.
  BitReader br = reader;
  br.refill();
  int32_t i = begin;
  while (i < end) {
    // Pairs that cannot reach past `limit` go unchecked; near it, one at a time.
    const int32_t room = limit - br.position();
    int32_t batchEnd = i + 2 * (room >= kMaxPairBits ? room / kMaxPairBits : 1);
    if (batchEnd > end) batchEnd = end;
    for (; i < batchEnd; i += 2) {
      if (pairs.decode(br, q + i)) nz = i + 2;
    }
    if (br.position() > limit) {
      for (int32_t j = i; j < end; ++j) q[j] = 0;
      break;
    }
  }
  reader = br;
  return nz;
}

}  // namespace

bool l3DecodeHuffman(BitReader& br, int32_t gr, int32_t ch, int32_t granuleEndBit, int32_t version, int32_t rateIndex) {
  Layer3State& L = gLayer3;
  const GranuleChannelInfo& g = L.side.gr[gr][ch];
  int32_t* q = L.quantized[ch];
  const int16_t* edges = kLongBandEdges[version - 1][rateIndex];
  // Overrun: the reader has passed the byte 39 bits after the granule's end.
  const int32_t limit = ((granuleEndBit + 39) >> 3) * 8 + 8;

  const int32_t lineLimit = L.lineLimit;
  const int32_t bigEnd = g.big_values * 2 < lineLimit ? g.big_values * 2 : lineLimit;
  int32_t r1 = edges[g.region0_count + 1 < 22 ? g.region0_count + 1 : 22];
  int32_t r2 = edges[g.region0_count + g.region1_count + 2 < 22 ? g.region0_count + g.region1_count + 2 : 22];
  if (r1 > bigEnd) r1 = bigEnd;
  if (r2 > bigEnd) r2 = bigEnd;
  if (r2 < r1) r2 = r1;

  int32_t nz = 0;
  nz = decodePairs(br, q, 0, r1, g.table_select[0], limit, nz);
  if (br.position() <= limit)
    nz = decodePairs(br, q, r1, r2, g.table_select[1], limit, nz);
  else
    std::memset(q + r1, 0, sizeof(int32_t) * static_cast<size_t>(r2 - r1));
  if (br.position() <= limit)
    nz = decodePairs(br, q, r2, bigEnd, g.table_select[2], limit, nz);
  else
    std::memset(q + r2, 0, sizeof(int32_t) * static_cast<size_t>(bigEnd - r2));

  // count1 quadruples: table A needs any bit left, table B four.
  const QuadLookup& quads = l3QuadLookup(g.count1table_select);
  const int32_t need = g.count1table_select ? 4 : 1;
  int32_t i = bigEnd;
  br.refill();
  while (i < lineLimit && granuleEndBit - br.position() >= need) {
    // Looked up before the refill, as the pairs are: a quadruple takes at most 10 bits.
    const QuadLookupEntry& e = quads.entries[br.peek(quads.bits)];
    br.refill();
    br.skip(e.length);
    if (granuleEndBit - br.position() < 0) break;  // the last one ran past: drop it
    q[i] = e.v[0], q[i + 1] = e.v[1], q[i + 2] = e.v[2], q[i + 3] = e.v[3];
    if (e.v[0] | e.v[1]) nz = i + 2;
    if (e.v[2] | e.v[3]) nz = i + 4;
    i += 4;
  }
  const int32_t cap = g.block_type == 2 ? L.shortLimit : L.longLimit;
  if (nz > cap) nz = cap;
  const int32_t written = i > bigEnd ? i : bigEnd;
  const int32_t clearFrom = nz < written ? nz : written;
  std::memset(q + clearFrom, 0, sizeof(int32_t) * static_cast<size_t>(576 + 8 - clearFrom));
  L.bound[ch] = nz;
  return br.position() <= limit;
}

}  // namespace orva

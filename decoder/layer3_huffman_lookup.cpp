// Builds the one-step pair and quadruple lookups by walking the multi-level
// Huffman tables of iso_tables.cpp for every bit pattern of the peek width.
// Runs once from initLayer3Tables, before any stream is decoded.
#include "decoder/layer3_huffman_lookup.h"

#include "decoder/iso_tables.h"

namespace orva {
namespace {

constexpr int32_t kPairPoolEntries = 16 << kPairLookupMaxBits;
constexpr int32_t kQuadLookupBits[2] = {10, 8};  // longest code (6 and 4) and four signs

PairLookupEntry gPairPool[kPairPoolEntries];
// For a table the pool has no room for (none of the standard's): every
// entry says "code longer than the peek", so the walk decodes every pair.
const PairLookupEntry kWalkOnly[2] = {};
PairLookup gPairLookups[32];

QuadLookupEntry gQuadA[1 << kQuadLookupBits[0]];
QuadLookupEntry gQuadB[1 << kQuadLookupBits[1]];
QuadLookup gQuadLookups[2];

struct WalkResult {
  int32_t value;
  int32_t length;  // bits of the code
};

// Decodes the code at the top of `window` with the multi-level table.
WalkResult walkCode(const HuffmanTable& h, uint64_t window) {
  const int16_t* t = kHuffmanEntries + h.first;
  int32_t bits = h.rootBits;
  int32_t used = 0;
  int32_t e = t[window >> (64 - bits)];
  while (e < 0) {
    window <<= bits;
    used += bits;
    const int32_t v = -e;
    bits = v & 15;
    e = t[(v >> 4) + static_cast<int32_t>(window >> (64 - bits))];
  }
  return {e & 255, used + (e >> 8)};
}

// Gives `value` the sign bit at position `at` from the top of `window`
// when it is not zero; moves `at` past the bit it used.
int8_t applySign(int32_t value, uint64_t window, int32_t& at) {
  if (value == 0) return 0;
  const bool negative = (window >> (63 - at)) & 1;
  ++at;
  return static_cast<int8_t>(negative ? -value : value);
}

PairLookupEntry pairEntry(const HuffmanTable& h, uint64_t window, int32_t width) {
  const WalkResult r = walkCode(h, window);
  if (r.length > width) return {};
  const int32_t x = r.value >> 4, y = r.value & 15;
  const int32_t signs = (x != 0) + (y != 0);
  // With linbits a 15 is followed by its extension before its sign.
  const bool escape = h.linbits > 0 && (x == 15 || y == 15);
  if (escape || r.length + signs > width) {
    return {static_cast<int8_t>(x), static_cast<int8_t>(y), static_cast<uint8_t>(r.length), 0};
  }
  int32_t at = r.length;
  const int8_t sx = applySign(x, window, at);
  const int8_t sy = applySign(y, window, at);
  return {sx, sy, static_cast<uint8_t>(at), 1};
}

void buildPairLookups() {
  int32_t used = 0;
  for (int32_t s = 0; s < 32; ++s) {
    const HuffmanTable& h = kHuffmanTables[s];
    gPairLookups[s] = {nullptr, 0};
    if (h.rootBits == 0) continue;
    // Tables 16..23 and 24..31 share their codes (only linbits differ, and
    // never to zero): the first of a group builds the lookup for all.
    for (int32_t k = 1; k < s; ++k) {
      if (kHuffmanTables[k].rootBits != 0 && kHuffmanTables[k].first == h.first) gPairLookups[s] = gPairLookups[k];
    }
    if (gPairLookups[s].entries != nullptr) continue;
    int32_t width = h.rootBits + 2;
    if (width > kPairLookupMaxBits) width = kPairLookupMaxBits;
    if (kPairPoolEntries - used < (1 << width)) {
      gPairLookups[s] = {kWalkOnly, 1};
      continue;
    }
    PairLookupEntry* out = gPairPool + used;
    for (uint32_t i = 0; i < (1u << width); ++i) out[i] = pairEntry(h, static_cast<uint64_t>(i) << (64 - width), width);
    gPairLookups[s] = {out, width};
    used += 1 << width;
  }
}

void buildQuadLookup(QuadLookupEntry* out, const HuffmanTable& h, int32_t width) {
  for (uint32_t i = 0; i < (1u << width); ++i) {
    const uint64_t window = static_cast<uint64_t>(i) << (64 - width);
    const WalkResult r = walkCode(h, window);
    QuadLookupEntry& q = out[i];
    int32_t at = r.length;
    for (int32_t k = 0; k < 4; ++k) q.v[k] = applySign((r.value >> (3 - k)) & 1, window, at);
    q.length = static_cast<uint8_t>(at);
  }
}

}  // namespace

void initLayer3HuffmanLookup() {
  buildPairLookups();
  buildQuadLookup(gQuadA, kHuffmanTables[32], kQuadLookupBits[0]);
  buildQuadLookup(gQuadB, kHuffmanTables[33], kQuadLookupBits[1]);
  gQuadLookups[0] = {gQuadA, kQuadLookupBits[0]};
  gQuadLookups[1] = {gQuadB, kQuadLookupBits[1]};
}

const PairLookup& l3PairLookup(int32_t select) { return gPairLookups[select & 31]; }

const QuadLookup& l3QuadLookup(int32_t select) { return gQuadLookups[select & 1]; }

}  // namespace orva

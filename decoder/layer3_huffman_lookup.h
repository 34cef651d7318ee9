// Wide one-step lookups over the Layer III Huffman tables, built once by
// initLayer3HuffmanLookup from the multi-level tables of iso_tables.h. Most
// codes of a granule resolve in one peek, with their sign bits already
// applied; the rest fall back to the multi-level walk. Read by
// layer3_huffman.cpp on the playback thread.
#pragma once

#include <cstdint>

namespace orva {

// Widest peek of a pair lookup: 1024 entries of the larger tables.
constexpr int32_t kPairLookupMaxBits = 10;

// One entry of a pair lookup, indexed by the next `bits` bits of a
// PairLookup. isSigned 1: x and y are final (signs applied) and `length`
// counts the code and its sign bits. isSigned 0 and `length` > 0: the code
// alone is `length` bits and x, y are magnitudes still to be extended by
// linbits and given signs. `length` 0: the code is longer than the peek.
struct PairLookupEntry {
  int8_t x;
  int8_t y;
  uint8_t length;
  uint8_t isSigned;
};

struct PairLookup {
  const PairLookupEntry* entries;  // nullptr for the tables without codes
  int32_t bits;
};

// A count1 quadruple with its signs applied; `length` counts the code and
// the sign bits. Both count1 tables resolve every code this way.
struct QuadLookupEntry {
  int8_t v[4];
  uint8_t length;
};

struct QuadLookup {
  const QuadLookupEntry* entries;
  int32_t bits;
};

void initLayer3HuffmanLookup();
// table_select 0..31.
const PairLookup& l3PairLookup(int32_t select);
// count1table_select 0 or 1.
const QuadLookup& l3QuadLookup(int32_t select);

}  // namespace orva

// Layer III scale factors that the second granule takes over from the first
// (scfsi): long blocks pass their values on; a short first granule has none
// to pass, so the second gets zeros rather than what an earlier frame or an
// earlier file left behind.
#include <gtest/gtest.h>

#include <cstring>

#include "decoder/bit_reader.h"
#include "decoder/decoder.h"
#include "decoder/decoder_state.h"
#include "decoder/layer3.h"

namespace orva {
namespace {

// Reads granule 0 then granule 1 of channel 0 from all-ones bits, with every
// scfsi group set and the first granule's long values made stale first.
void readBothGranules(int32_t firstBlockType) {
  Layer3State& L = gLayer3;
  std::memset(&L.side, 0, sizeof L.side);
  for (int g = 0; g < 4; ++g) L.side.scfsi[0][g] = 1;
  L.side.gr[0][0].block_type = firstBlockType;
  L.side.gr[0][0].scalefac_compress = 15;  // 4 and 3 bits
  L.side.gr[1][0].scalefac_compress = 15;
  std::memset(L.scf[0][0].l, 9, sizeof L.scf[0][0].l);
  uint8_t ones[64];
  std::memset(ones, 0xFF, sizeof ones);
  BitReader br;
  br.start(ones, 0);
  l3ReadScaleFactors(br, 1, 0, 0, false);
  l3ReadScaleFactors(br, 1, 1, 0, false);
}

TEST(Layer3ScaleFactors, TheSecondGranuleTakesOverLongValuesAndNothingStale) {
  initDecoder();
  readBothGranules(0);
  for (int b = 0; b < 21; ++b) EXPECT_EQ(gLayer3.scf[1][0].l[b], b < 11 ? 15 : 7) << b;

  readBothGranules(2);
  for (int b = 0; b < 22; ++b) EXPECT_EQ(gLayer3.scf[1][0].l[b], 0) << b;
}

}  // namespace
}  // namespace orva

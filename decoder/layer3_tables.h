// Tables of the Layer III stages, built once by initLayer3Tables in double
// precision and kept as floats.
#pragma once

#include <cstdint>

namespace orva {

struct Layer3Tables {
  float gain[262];        // 2^((i - 156) / 4); entry global_gain + 6
  float scale[2][4][32];  // 2^(-(s + 1) / 2 * (p + k))
  float subblock[8];      // 2^(-2j)
  float cs[8];
  float ca[8];
  float intensity1[2][8][2];      // MPEG-1 [ms][position] -> (left, right)
  float intensity2[2][2][32][2];  // MPEG-2 [scale][ms][position]
  float window[4][36];            // IMDCT windows by block type (2: 12 values)
  float imdctPre[18];             // 1 / (2 cos((k + 1/2) pi / 36)): DCT-IV from DCT-II
  float imdctHalf[9];             // 0.5 / cos((2i + 1) pi / 36): the 18-point Lee split
  float dct9Even[5][4];           // cos(pi n (2k + 1) / 18), even n, k = 0..3
  float dct9Odd[4][4];            // the same for odd n
  float cos12[6][6];              // rows 0..2 and 6..8 of the 12-point IMDCT
};

extern Layer3Tables gL3Tables;

}  // namespace orva

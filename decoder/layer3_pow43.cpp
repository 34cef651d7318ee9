// The power table of the requantisation: small magnitudes from pow, the
// rest from a * cbrt(a), in double precision and rounded once to float.
#include "decoder/layer3_pow43.h"

#include <cmath>

namespace orva {

float gPow43[kPow43Size];

void initLayer3Pow43() {
  for (int32_t m = 0; m < 32; ++m) gPow43[m] = static_cast<float>(std::pow(static_cast<double>(m), 4.0 / 3.0));
  for (int32_t m = 32; m < kPow43Size; ++m) {
    const double a = m;
    gPow43[m] = static_cast<float>(a * std::cbrt(a));
  }
}

}  // namespace orva

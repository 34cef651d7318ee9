// Layer III constant tables: gains, scale-factor multipliers, |x|^(4/3),
// alias-reduction butterflies, intensity-stereo ratios and the IMDCT windows
// and cosines, all computed from their formulas at initialisation.
#include "decoder/layer3_tables.h"

#include <cmath>
#include <numbers>

#include "decoder/iso_tables.h"
#include "decoder/layer3.h"
#include "decoder/layer3_huffman_lookup.h"
#include "decoder/layer3_pow43.h"

namespace orva {

Layer3Tables gL3Tables;

namespace {

constexpr double kPi = std::numbers::pi;

void buildIntensity(Layer3Tables& t) {
  for (int ms = 0; ms < 2; ++ms) {
    const double f = ms ? std::numbers::sqrt2 : 1.0;
    for (int p = 0; p < 7; ++p) {
      const double a = p * kPi / 12;
      const double sum = std::sin(a) + std::cos(a);
      t.intensity1[ms][p][0] = static_cast<float>(f * std::sin(a) / sum);
      t.intensity1[ms][p][1] = static_cast<float>(f * std::cos(a) / sum);
    }
    t.intensity1[ms][7][0] = 1.0f;
    t.intensity1[ms][7][1] = ms ? 1.0f : 0.0f;
    for (int s = 0; s < 2; ++s) {
      const double r = std::pow(2.0, -(s + 1) / 4.0);
      for (int p = 0; p < 32; ++p) {
        double l = f, rr = f;
        if (p & 1) {
          l = f * std::pow(r, (p + 1) / 2);
        } else if (p > 0) {
          rr = f * std::pow(r, p / 2);
        }
        t.intensity2[s][ms][p][0] = static_cast<float>(l);
        t.intensity2[s][ms][p][1] = static_cast<float>(rr);
      }
    }
  }
}

void buildImdct(Layer3Tables& t) {
  for (int i = 0; i < 36; ++i) {
    const double longWin = std::sin(kPi / 36 * (i + 0.5));
    t.window[0][i] = static_cast<float>(longWin);
    double start = 0, stop = 0;
    if (i < 18)
      start = longWin;
    else if (i < 24)
      start = 1;
    else if (i < 30)
      start = std::sin(kPi / 12 * (i - 18 + 0.5));
    if (i >= 18)
      stop = longWin;
    else if (i >= 12)
      stop = 1;
    else if (i >= 6)
      stop = std::sin(kPi / 12 * (i - 6 + 0.5));
    t.window[1][i] = static_cast<float>(start);
    t.window[3][i] = static_cast<float>(stop);
    t.window[2][i] = i < 12 ? static_cast<float>(std::sin(kPi / 12 * (i + 0.5))) : 0.0f;
  }
  for (int k = 0; k < 18; ++k) {
    t.imdctPre[k] = static_cast<float>(1.0 / (2.0 * std::cos((k + 0.5) * kPi / 36)));
  }
  for (int i = 0; i < 9; ++i) {
    t.imdctHalf[i] = static_cast<float>(0.5 / std::cos((2 * i + 1) * kPi / 36));
  }
  for (int k = 0; k < 4; ++k) {
    for (int n = 0; n < 9; ++n) {
      const float c = static_cast<float>(std::cos(kPi * n * (2 * k + 1) / 18));
      if (n % 2 == 0)
        t.dct9Even[n / 2][k] = c;
      else
        t.dct9Odd[n / 2][k] = c;
    }
  }
  for (int r = 0; r < 6; ++r) {
    const int i = r < 3 ? r : r + 3;  // output rows 0..2 and 6..8
    for (int k = 0; k < 6; ++k) {
      t.cos12[r][k] = static_cast<float>(std::cos(kPi / 24 * (2 * i + 1 + 6) * (2 * k + 1)));
    }
  }
}

}  // namespace

void initLayer3Tables() {
  Layer3Tables& t = gL3Tables;
  for (int i = 0; i < 262; ++i) t.gain[i] = static_cast<float>(std::pow(2.0, (i - 156) / 4.0));
  for (int s = 0; s < 2; ++s) {
    for (int p = 0; p < 4; ++p) {
      for (int k = 0; k < 32; ++k) {
        t.scale[s][p][k] = static_cast<float>(std::pow(2.0, -(s + 1) / 2.0 * (p + k)));
      }
    }
  }
  for (int j = 0; j < 8; ++j) t.subblock[j] = static_cast<float>(std::pow(2.0, -2.0 * j));
  for (int i = 0; i < 8; ++i) {
    const double c = kAliasCoefficients[i];
    t.cs[i] = static_cast<float>(1.0 / std::sqrt(1.0 + c * c));
    t.ca[i] = static_cast<float>(c / std::sqrt(1.0 + c * c));
  }
  buildIntensity(t);
  buildImdct(t);
  initLayer3HuffmanLookup();
  initLayer3Pow43();
}

}  // namespace orva

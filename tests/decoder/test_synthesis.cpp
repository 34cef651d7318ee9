// Synthesis filterbank: the fast DCT, the full-rate filterbank against the
// standard's matrixing and windowing done directly in double precision, the
// Layer I/II arrangements against each other, and the PCM conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>
#include <vector>

#include "decoder/decoder.h"
#include "decoder/decoder_state.h"
#include "decoder/iso_tables.h"
#include "decoder/synthesis.h"

namespace orva {
namespace {

class Synthesis : public ::testing::Test {
 protected:
  void SetUp() override {
    initDecoder();
    setEqualizerGains(nullptr);
    resetSynthesis();
  }
};

std::vector<float> randomSamples(size_t n, float scale, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> u(-scale, scale);
  std::vector<float> v(n);
  for (float& x : v) x = u(rng);
  return v;
}

TEST_F(Synthesis, Dct32MatchesTheDirectSum) {
  const auto x = randomSamples(32, 1000.0f, 1);
  float y[32];
  std::memcpy(y, x.data(), sizeof y);
  synthesisDct32(y);
  for (int k = 0; k < 32; ++k) {
    double sum = 0;
    for (int n = 0; n < 32; ++n) sum += x[n] * std::cos((2 * n + 1) * k * std::numbers::pi / 64);
    EXPECT_NEAR(y[k], sum, 0.05) << k;
  }
}

// The standard's synthesis: a 1024-value V shift register, matrixing with
// N[i][k] = cos((16 + i)(2k + 1) pi / 64), then 16 windowed taps per output.
struct ReferenceFilterbank {
  double v[1024] = {};
  void slot(const float* s, double* out) {
    std::memmove(v + 64, v, sizeof(double) * 960);
    for (int i = 0; i < 64; ++i) {
      double sum = 0;
      for (int k = 0; k < 32; ++k) sum += std::cos((16 + i) * (2 * k + 1) * std::numbers::pi / 64) * s[k];
      v[i] = sum;
    }
    for (int j = 0; j < 32; ++j) {
      double sum = 0;
      for (int i = 0; i < 8; ++i) {
        sum += v[128 * i + j] * kSynthesisWindow[64 * i + j];
        sum += v[128 * i + 96 + j] * kSynthesisWindow[64 * i + 32 + j];
      }
      out[j] = sum;
    }
  }
};

TEST_F(Synthesis, FullRateEqualsTheStandardFilterbank) {
  ReferenceFilterbank ref;
  const SynthesisLayer3 mono = kSynthesisLayer3[0];
  int64_t off = 0, total = 0;
  for (int granule = 0; granule < 6; ++granule) {
    auto hybrid = randomSamples(18 * 32, 3000.0f, 10 + granule);
    uint8_t pcm[18 * 32 * 2];
    mono(hybrid.data(), nullptr, pcm);
    for (int t = 0; t < 18; ++t) {
      double out[32];
      ref.slot(hybrid.data() + 32 * t, out);
      for (int j = 0; j < 32; ++j) {
        int16_t got;
        std::memcpy(&got, pcm + 2 * (32 * t + j), 2);
        const double want = std::clamp(std::trunc(out[j]), -32768.0, 32767.0);
        off += std::fabs(got - want) > 1;
        ++total;
      }
    }
  }
  EXPECT_EQ(off, 0);
  EXPECT_EQ(total, 6 * 18 * 32);
}

TEST_F(Synthesis, PcmConversionTruncatesAndClips) {
  EXPECT_EQ(synthesisToPcm16(32767.9f), 32767);
  EXPECT_EQ(synthesisToPcm16(-32768.9f), -32768);
  EXPECT_EQ(synthesisToPcm16(40000.0f), 32767);
  EXPECT_EQ(synthesisToPcm16(-0.9f), 0);
  EXPECT_EQ(synthesisToPcm16(-1.5f), -1);
  EXPECT_EQ(synthesisToPcm16(std::nanf("")), -32768);
  EXPECT_EQ(synthesisToPcm8(40000.0f), 0xFF);
  EXPECT_EQ(synthesisToPcm8(0.0f), 0x80);
  EXPECT_EQ(synthesisToPcm8(-40000.0f), 0x00);
  EXPECT_EQ(synthesisToPcm8(-1.0f), 0x7F);
}

TEST_F(Synthesis, SilenceGivesZeroAndEightBitMidpoint) {
  std::vector<float> block(64 * 36, 0.0f);
  std::vector<uint8_t> out(36 * 64 * 2 + 16, 0x55);
  for (int v = 0; v < 30; ++v) {
    resetSynthesis();
    const bool eight = v >= 15;
    const int shift = (v % 15) / 5;
    const int arrangement = v % 5;
    const int channels = arrangement == SYNTH_STEREO ? 2 : 1;
    const size_t bytes = size_t(36) * (32 >> shift) * channels * (eight ? 1 : 2);
    std::fill(out.begin(), out.end(), 0x55);
    kSynthesisLayer12[v](block.data(), out.data(), 36);
    for (size_t i = 0; i < bytes; ++i) ASSERT_EQ(out[i], eight ? 0x80 : 0) << v;
    EXPECT_EQ(out[bytes], 0x55) << "variant " << v << " wrote past its slots";
  }
}

TEST_F(Synthesis, LayerIIArrangementsAgree) {
  const auto block = randomSamples(64 * 36, 2000.0f, 7);
  for (int shift = 0; shift < 3; ++shift) {
    SCOPED_TRACE(shift);
    const int m = 32 >> shift;
    auto run = [&](int arrangement, const std::vector<float>& in) {
      resetSynthesis();
      std::vector<float> copy = in;
      std::vector<uint8_t> out(36 * 64 * 2);
      kSynthesisLayer12[shift * 5 + arrangement](copy.data(), out.data(), 36);
      std::vector<int16_t> s(36 * m * (arrangement == SYNTH_STEREO ? 2 : 1));
      std::memcpy(s.data(), out.data(), s.size() * 2);
      return s;
    };
    const auto stereo = run(SYNTH_STEREO, block);
    const auto left = run(SYNTH_LEFT_ONLY, block);
    const auto right = run(SYNTH_RIGHT_ONLY, block);
    // The down-mix is the filterbank of the averaged subbands; a mono stream
    // reads its subbands contiguously.
    std::vector<float> averaged(64 * 36, 0.0f);
    for (int t = 0; t < 36; ++t) {
      for (int k = 0; k < 32; ++k) {
        averaged[64 * t + k] = (block[64 * t + 2 * k] + block[64 * t + 2 * k + 1]) * 0.5f;
      }
    }
    const auto mix = run(SYNTH_DOWNMIX, block);
    const auto mono = run(SYNTH_MONO_STREAM, averaged);
    for (size_t i = 0; i < left.size(); ++i) {
      ASSERT_EQ(left[i], stereo[2 * i]);
      ASSERT_EQ(right[i], stereo[2 * i + 1]);
      ASSERT_EQ(mix[i], mono[i]);
    }
  }
}

TEST_F(Synthesis, EqualizerGainsScaleTheSubbands) {
  const int32_t up[10] = {200, 200, 200, 200, 200, 200, 200, 200, 200, 200};
  const auto hybrid = randomSamples(18 * 32, 200.0f, 3);
  auto run = [&](const int32_t* bands) {
    setEqualizerGains(bands);
    resetSynthesis();
    std::vector<float> copy = hybrid;
    std::vector<int16_t> out(18 * 32);
    kSynthesisLayer3[0](copy.data(), nullptr, reinterpret_cast<uint8_t*>(out.data()));
    return out;
  };
  const auto plain = run(nullptr);
  const auto loud = run(up);
  for (size_t i = 0; i < plain.size(); ++i) ASSERT_NEAR(loud[i], 10.0 * plain[i], 11.0) << i;
  EXPECT_EQ(gDecoder.equalizer.on, 1);
  setEqualizerGains(nullptr);
  EXPECT_EQ(gDecoder.equalizer.on, 0);
  EXPECT_FLOAT_EQ(gDecoder.equalizer.gains[31], 10.0f);  // switching off keeps the gains
}

TEST_F(Synthesis, EqualizerBandsMapToSubbands) {
  int32_t bands[10] = {0, 0, 0, 0, 0, 0, 60, 0, 0, -200};
  setEqualizerGains(bands);
  const float* g = gDecoder.equalizer.gains;
  EXPECT_FLOAT_EQ(g[5], 1.0f);
  EXPECT_NEAR(g[6], 1.9953, 1e-4);
  EXPECT_NEAR(g[7], 1.9953, 1e-4);
  EXPECT_FLOAT_EQ(g[8], 1.0f);
  EXPECT_FLOAT_EQ(g[19], 1.0f);
  for (int k = 20; k < 32; ++k) EXPECT_FLOAT_EQ(g[k], 0.1f) << k;
}

}  // namespace
}  // namespace orva

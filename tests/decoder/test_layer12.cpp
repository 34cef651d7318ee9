// Layers I and II on frames written here bit by bit: the MPEG-1 table
// choice, the requantisation of a class, the shared samples above the
// joint-stereo bound, the subbands skipped above the decoding limit, a
// stream whose bitrate and mode the standard does not allow, and a frame
// whose channel count differs from the stream's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "decoder/decoder.h"
#include "decoder/decoder_state.h"
#include "decoder/iso_tables.h"
#include "decoder/layer12.h"

namespace orva {
namespace {

struct Bits {
  std::vector<uint8_t> bytes;
  int32_t count = 0;
  void put(uint32_t v, int32_t n) {
    for (int32_t i = n - 1; i >= 0; --i, ++count) {
      if (count % 8 == 0) bytes.push_back(0);
      if ((v >> i) & 1) bytes.back() |= static_cast<uint8_t>(0x80 >> (count % 8));
    }
  }
  // MPEG-1 header without CRC.
  void header(int32_t layer, int32_t bitrateIndex, int32_t rateIndex, int32_t mode, int32_t ext) {
    put(0xFFF, 12);
    put(1, 1);
    put(4 - layer, 2);
    put(1, 1);
    put(bitrateIndex, 4);
    put(rateIndex, 2);
    put(0, 2);
    put(mode, 2);
    put(ext, 2);
    put(0, 4);
  }
  std::vector<uint8_t> frame(size_t length) {
    std::vector<uint8_t> f = bytes;
    f.resize(length, 0);
    return f;
  }
};

// Allocation fields of table a (27 subbands: 4, 4, 3 and 2 bits), all zero
// but those given; `perChannel` subbands carry one field per channel.
void tableAAllocation(Bits& w, int32_t perChannel, int32_t channels,
                      const std::vector<std::pair<int32_t, uint32_t>>& codes) {
  for (int32_t sb = 0; sb < 27; ++sb) {
    const int32_t width = sb < 11 ? 4 : (sb < 23 ? 3 : 2);
    const int32_t fields = sb < perChannel ? channels : 1;
    for (int32_t ch = 0; ch < fields; ++ch) {
      uint32_t code = 0;
      for (const auto& c : codes) {
        if (c.first == sb * 2 + ch) code = c.second;
      }
      w.put(code, width);
    }
  }
}

std::vector<uint8_t> repeat(const std::vector<uint8_t>& frame, int32_t times) {
  std::vector<uint8_t> s;
  for (int32_t i = 0; i < times; ++i) s.insert(s.end(), frame.begin(), frame.end());
  return s;
}

class Layer12 : public ::testing::Test {
 protected:
  void SetUp() override {
    initDecoder();
    setEqualizerGains(nullptr);
  }
  void TearDown() override { setFullBandwidthForTesting(false); }
  bool start(const std::vector<uint8_t>& s) {
    stream = s;
    return startDecoding(stream.data(), static_cast<int32_t>(stream.size()));
  }
  bool decodeAt(size_t offset) {
    FrameDecodeJob j{};
    j.input = stream.data() + offset;
    j.inputLength = static_cast<int32_t>(stream.size() - offset);
    j.output = pcm.data();
    const bool ok = decodeFrame(j);
    consumed = j.inputLength;
    produced = j.outputLength;
    return ok;
  }
  int16_t sample(int32_t i) const {
    int16_t v;
    std::memcpy(&v, pcm.data() + 2 * i, 2);
    return v;
  }
  std::vector<uint8_t> stream;
  std::vector<uint8_t> pcm = std::vector<uint8_t>(4608 * 2, 0xAB);
  int32_t consumed = 0;
  int32_t produced = 0;
};

TEST(Layer2Tables, MpegOneSelectionByRateAndModeMarksWhatTheStandardDisallows) {
  // 44.1 kHz stereo: 128 kbit/s table a (27), 192 table b (30), 64 table c (8), 32 invalid.
  EXPECT_EQ(l2SelectTable(0, 0, 8), 0);
  EXPECT_EQ(l2SelectTable(0, 0, 10), 1);
  EXPECT_EQ(l2SelectTable(0, 0, 4), 2);
  EXPECT_EQ(l2SelectTable(0, 0, 1), -1);
  EXPECT_EQ(kLayer2AllocationTables[0].subbands, 27);
  EXPECT_EQ(kLayer2AllocationTables[1].subbands, 30);
  EXPECT_EQ(kLayer2AllocationTables[2].subbands, 8);
  EXPECT_EQ(kLayer2AllocationTables[3].subbands, 12);
  EXPECT_EQ(kLayer2AllocationTables[4].subbands, 30);
  // 48 kHz keeps table a up to 192 per channel; 32 kHz takes table d at the bottom.
  EXPECT_EQ(l2SelectTable(3, 1, 10), 0);
  EXPECT_EQ(l2SelectTable(1, 2, 4), 3);
  // Two channels at 48, 56 and 80 kbit/s and one channel from 224 are not allowed.
  for (int32_t i : {2, 3, 5}) EXPECT_EQ(l2SelectTable(2, 0, i), -1) << i;
  for (int32_t i : {11, 12, 13, 14}) EXPECT_EQ(l2SelectTable(3, 1, i), -1) << i;
  EXPECT_EQ(l2SelectTable(0, 0, 0), -1);
  EXPECT_EQ(l2SelectTable(0, 0, 15), -1);
  // What the decoder reads those with: the table of their bitrate per channel.
  EXPECT_EQ(l2TableByChannelRate(0, 0, 1), 2);
  EXPECT_EQ(l2TableByChannelRate(0, 2, 5), 3);
  EXPECT_EQ(l2TableByChannelRate(3, 0, 14), 1);
  EXPECT_EQ(l2TableByChannelRate(3, 1, 14), 0);
}

TEST(Layer2Tables, DegroupingAndFactors) {
  initDecoder();
  const Layer12Tables& t = gL12Tables;
  // Digits from the least significant, centred.
  EXPECT_EQ(t.degroup3[3 * 5 + 0], 1);
  EXPECT_EQ(t.degroup3[3 * 5 + 1], 0);
  EXPECT_EQ(t.degroup3[3 * 5 + 2], -1);
  EXPECT_EQ(t.degroup5[3 * 124 + 2], 2);
  EXPECT_EQ(t.degroup9[3 * 728 + 0], 4);
  EXPECT_EQ(t.degroup9[3 * 0 + 1], -4);
  EXPECT_EQ(t.degroup3[3 * 31 + 2], -1);  // beyond 26: same rule, (31 / 9) % 3 = 0
  int32_t sum = 0;
  for (int8_t v : t.degroup9) sum += v * v;
  EXPECT_EQ(sum, 20833);
  EXPECT_FLOAT_EQ(t.multiplier[0], 65536.0f);
  EXPECT_FLOAT_EQ(t.multiplier[3], 32768.0f);
  EXPECT_FLOAT_EQ(t.layer1Factor[1], 2.0f / 3.0f);
  EXPECT_FLOAT_EQ(t.classFactor[17], 2.0f / 65535.0f);
}

// 7 levels: code 0 gives -6/7 of the multiplier, 3 gives 0, 6 gives +6/7.
TEST_F(Layer12, SevenLevelCodesAreCentredAndScaled) {
  Bits w;
  w.header(2, 8, 0, 0, 0);               // 44.1 kHz stereo 128 kbit/s: table a
  tableAAllocation(w, 32, 2, {{0, 2}});  // left subband 0: code 2 = 7 levels
  w.put(2, 2);                           // scfsi: one scale factor
  w.put(0, 6);
  for (int32_t g = 0; g < 12; ++g) {
    w.put(0, 3), w.put(3, 3), w.put(6, 3);
  }
  ASSERT_TRUE(start(repeat(w.frame(417), 2)));
  ASSERT_TRUE(decodeAt(0));
  EXPECT_EQ(consumed, 417);
  EXPECT_EQ(produced, 1152 * 4);
  const float* s = gDecoder.layer12.samples;
  EXPECT_FLOAT_EQ(s[0], -6.0f / 7.0f * 65536.0f);
  EXPECT_EQ(s[64], 0.0f);
  EXPECT_FLOAT_EQ(s[128], 6.0f / 7.0f * 65536.0f);
  EXPECT_EQ(s[1], 0.0f);  // the right channel has no allocation
  EXPECT_FLOAT_EQ(s[35 * 64], 6.0f / 7.0f * 65536.0f);
}

// Joint stereo, mode extension 0: from subband 4 one code serves both
// channels, each scaled by its own scale factor.
TEST_F(Layer12, JointStereoSharesOneSampleAboveTheBound) {
  Bits w;
  w.header(2, 8, 0, 1, 0);
  tableAAllocation(w, 4, 2, {{8, 3}, {10, 3}});  // subbands 4 and 5: 7 levels
  for (int32_t i = 0; i < 4; ++i) w.put(2, 2);   // scfsi of 4L, 4R, 5L, 5R
  w.put(0, 6), w.put(3, 6), w.put(0, 6), w.put(0, 6);
  for (int32_t g = 0; g < 12; ++g) {
    w.put(6, 3), w.put(6, 3), w.put(6, 3);  // subband 4
    w.put(0, 3), w.put(1, 3), w.put(2, 3);  // subband 5
  }
  ASSERT_TRUE(start(repeat(w.frame(417), 2)));
  ASSERT_TRUE(decodeAt(0));
  const float* s = gDecoder.layer12.samples;
  const float top = 6.0f / 7.0f * 65536.0f;
  for (int32_t slot : {0, 1, 2, 35}) {
    const float* x = s + 64 * slot;
    EXPECT_FLOAT_EQ(x[8], top);
    EXPECT_FLOAT_EQ(x[9], top / 2);
    EXPECT_FLOAT_EQ(x[10], (slot % 3 - 3) * 2.0f / 7.0f * 65536.0f);
    EXPECT_EQ(x[10], x[11]);
  }
}

// Half rate at 48 kHz: 15 subbands per channel are decoded; the bits of a
// coded subband 16 are passed over in one skip.
TEST_F(Layer12, HalfRateDecodesFifteenSubbandsAndSkipsTheRest) {
  setDecoderOptions(DecoderOptions{1, 0, 24000});
  Bits w;
  w.header(2, 10, 1, 0, 0);                       // 48 kHz stereo 192 kbit/s: table a
  tableAAllocation(w, 32, 2, {{0, 1}, {32, 1}});  // subbands 0 and 16, left: 3 levels
  w.put(2, 2), w.put(2, 2);
  w.put(0, 6), w.put(0, 6);
  for (int32_t g = 0; g < 12; ++g) w.put(26, 5), w.put(0, 5);
  ASSERT_TRUE(start(repeat(w.frame(576), 2)));
  EXPECT_EQ(gDecoder.layer12.limitSubbands, 15);
  ASSERT_TRUE(decodeAt(0));
  EXPECT_EQ(produced, 576 * 2 * 2);
  const Layer12State& L = gDecoder.layer12;
  ASSERT_EQ(L.opCount, 2);  // subband 0 left, then the skip (empty entries are dropped)
  EXPECT_EQ(L.ops[1].kind, L12_SKIP);
  EXPECT_EQ(L.skipBits, 5);
  EXPECT_FLOAT_EQ(L.samples[64 * 35], 2.0f / 3.0f * 65536.0f);
  EXPECT_EQ(L.samples[32], 0.0f);
  setDecoderOptions(DecoderOptions{0, 0, 24000});
}

// Layer I at full rate leaves subband 31 silent unless the test switch lifts it.
TEST_F(Layer12, LayerOneTopSubbandSilentAsBuilt) {
  Bits w;
  w.header(1, 12, 0, 3, 0);  // 44.1 kHz mono 384 kbit/s
  for (int32_t sb = 0; sb < 32; ++sb) w.put(sb == 31 ? 3 : 0, 4);
  w.put(10, 6);
  for (int32_t slot = 0; slot < 12; ++slot) w.put(slot & 1 ? 15 : 0, 4);
  const std::vector<uint8_t> s = repeat(w.frame(416), 2);
  for (bool lifted : {false, true}) {
    setFullBandwidthForTesting(lifted);
    ASSERT_TRUE(start(s));
    ASSERT_TRUE(decodeAt(0));
    EXPECT_EQ(produced, 384 * 2);
    int32_t peak = 0;
    for (int32_t i = 0; i < 384; ++i) peak = std::max(peak, std::abs(static_cast<int32_t>(sample(i))));
    if (lifted) {
      EXPECT_GT(peak, 1000);
    } else {
      EXPECT_EQ(peak, 0);
    }
  }
}

// Two channels at 32 kbit/s is not a Layer II combination, but its frames
// are whole: they play with the table their bitrate per channel points to.
TEST_F(Layer12, DisallowedCombinationPlaysWithItsPerChannelTable) {
  Bits w;
  w.header(2, 1, 0, 0, 0);  // 44.1 kHz stereo 32 kbit/s: table c
  w.put(1, 4), w.put(0, 4), w.put(0, 4), w.put(0, 4);
  for (int32_t sb = 2; sb < 8; ++sb) w.put(0, 3), w.put(0, 3);
  w.put(2, 2), w.put(0, 6);
  for (int32_t g = 0; g < 12; ++g) w.put(26, 5);
  ASSERT_TRUE(start(repeat(w.frame(104), 3)));
  ASSERT_TRUE(decodeAt(0));
  EXPECT_EQ(consumed, 104);
  int32_t leftPeak = 0, rightPeak = 0;
  for (int32_t i = 0; i < 1152; ++i) {
    leftPeak = std::max(leftPeak, std::abs(static_cast<int32_t>(sample(2 * i))));
    rightPeak = std::max(rightPeak, std::abs(static_cast<int32_t>(sample(2 * i + 1))));
  }
  EXPECT_GT(leftPeak, 1000);
  EXPECT_EQ(rightPeak, 0);
}

// A single-channel frame in a two-channel stream plays in both channels;
// the stream's output format holds.
TEST_F(Layer12, MonoFrameInAStereoStreamFillsBothChannels) {
  Bits st;
  st.header(2, 8, 0, 0, 0);
  Bits mono;
  mono.header(2, 4, 0, 3, 0);  // 64 kbit/s mono: table a
  tableAAllocation(mono, 32, 1, {{0, 2}});
  mono.put(2, 2), mono.put(0, 6);
  for (int32_t g = 0; g < 36; ++g) mono.put(6, 3);
  std::vector<uint8_t> s = st.frame(417);
  const std::vector<uint8_t> m = mono.frame(208);
  s.insert(s.end(), m.begin(), m.end());
  s.insert(s.end(), m.begin(), m.end());
  ASSERT_TRUE(start(s));
  ASSERT_TRUE(decodeAt(0));
  ASSERT_TRUE(decodeAt(417));
  EXPECT_EQ(consumed, 208);
  EXPECT_EQ(produced, 1152 * 4);
  int32_t peak = 0;
  for (int32_t i = 0; i < 1152; ++i) {
    ASSERT_EQ(sample(2 * i), sample(2 * i + 1)) << i;
    peak = std::max(peak, std::abs(static_cast<int32_t>(sample(2 * i))));
  }
  EXPECT_GT(peak, 1000);
}

}  // namespace
}  // namespace orva

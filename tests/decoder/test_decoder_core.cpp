// The decoder core: decodeFrame's lengths and errors, the muted handler of a
// seek, starting inside the bit reservoir, the Layer III limits prepared at
// stream start, and the reservoir's move to the front.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "decoder/decoder.h"
#include "decoder/decoder_state.h"
#include "decoder/layer3.h"
#include "tests/support/test_support.h"

namespace orva {
namespace {

std::vector<uint8_t> clip() {
  return test::readFileBytes(
      test::joinPath(test::joinPath(test::sourceDir(), "tests/decoder/data"), "stereo_joint_44k.mp3"));
}

// Offsets of the frames of a clip without tags.
std::vector<size_t> frameOffsets(const std::vector<uint8_t>& c) {
  std::vector<size_t> offs;
  size_t pos = 0;
  MpegFrameHeader h{};
  while (pos + 4 <= c.size() && parseFrameHeader(c.data() + pos, h)) {
    offs.push_back(pos);
    pos += static_cast<size_t>(frameLength(h, bitrateKbps(h.version, h.layer, h.bitrateIndex) * 1000, 44100));
  }
  return offs;
}

int32_t mainDataBegin(const uint8_t* frame) { return (frame[4] << 1) | (frame[5] >> 7); }

class DecoderCore : public ::testing::Test {
 protected:
  void SetUp() override {
    initDecoder();
    setEqualizerGains(nullptr);
    data = clip();
    ASSERT_FALSE(data.empty());
    offs = frameOffsets(data);
    ASSERT_GT(offs.size(), 20u);
  }
  bool start(size_t frame) {
    return startDecoding(data.data() + offs[frame], static_cast<int32_t>(data.size() - offs[frame]));
  }
  FrameDecodeJob job(size_t frame, int32_t length = -1) {
    FrameDecodeJob j{};
    j.input = data.data() + offs[frame];
    j.inputLength = length >= 0 ? length : static_cast<int32_t>(data.size() - offs[frame]);
    j.output = pcm.data();
    return j;
  }
  std::vector<uint8_t> data;
  std::vector<size_t> offs;
  std::vector<uint8_t> pcm = std::vector<uint8_t>(4608, 0xAB);
};

TEST_F(DecoderCore, ConsumesOneFrameAndAsksForMoreOnATruncatedOne) {
  ASSERT_TRUE(start(0));
  FrameDecodeJob j = job(0, 4);
  EXPECT_FALSE(decodeFrame(j));
  EXPECT_EQ(getDecoderError(), DECODER_ERR_NEED_DATA);

  const int32_t first = static_cast<int32_t>(offs[1] - offs[0]);
  j = job(0, first + 100);  // a whole frame, then part of the next
  ASSERT_TRUE(decodeFrame(j));
  EXPECT_EQ(j.inputLength, first);
  EXPECT_EQ(j.outputLength, 4608);
  EXPECT_EQ(j.bitrate, 96000);
  EXPECT_EQ(j.mode, 1);
  j = job(1, 100);
  EXPECT_FALSE(decodeFrame(j));
  EXPECT_EQ(getDecoderError(), DECODER_ERR_NEED_DATA);

  j = job(1);
  j.input = data.data() + offs[1] + 1;  // not a sync
  EXPECT_FALSE(decodeFrame(j));
  EXPECT_EQ(getDecoderError(), DECODER_ERR_NO_SYNC);
}

TEST_F(DecoderCore, MutedHandlerMeasuresWithoutTouchingThePcm) {
  ASSERT_TRUE(start(0));
  muteLayerHandler();
  FrameDecodeJob last{};
  for (size_t f = 0; f < 5; ++f) {
    FrameDecodeJob j = job(f);
    ASSERT_TRUE(decodeFrame(j));
    last = j;
    EXPECT_EQ(j.inputLength, static_cast<int32_t>(offs[f + 1] - offs[f]));
    EXPECT_EQ(j.outputLength, 4608);
  }
  EXPECT_EQ(pcm, std::vector<uint8_t>(4608, 0xAB));
  // After the seek the reservoir is empty: a frame reaching back plays silence.
  restoreLayerHandler(last);
  size_t f = 5;
  while (f < offs.size() - 1 && mainDataBegin(data.data() + offs[f]) == 0) ++f;
  FrameDecodeJob j = job(f);
  ASSERT_TRUE(decodeFrame(j));
  EXPECT_EQ(j.outputLength, 4608);
  EXPECT_EQ(pcm, std::vector<uint8_t>(4608, 0));
}

TEST_F(DecoderCore, StartingInsideTheReservoirPlaysSilenceThenAudio) {
  size_t f = 1;
  while (f < offs.size() - 2 && mainDataBegin(data.data() + offs[f]) == 0) ++f;
  ASSERT_TRUE(start(f));
  FrameDecodeJob j = job(f);
  ASSERT_TRUE(decodeFrame(j));
  EXPECT_EQ(j.outputLength, 4608);
  EXPECT_EQ(pcm, std::vector<uint8_t>(4608, 0));
  bool sound = false;
  for (size_t k = f + 1; k < f + 4 && !sound; ++k) {
    j = job(k);
    ASSERT_TRUE(decodeFrame(j));
    for (uint8_t b : pcm) sound = sound || b != 0;
  }
  EXPECT_TRUE(sound);
}

TEST_F(DecoderCore, ReservoirMovesToTheFrontOnlyAboveItsMark) {
  size_t f = 1;
  while (f < offs.size() - 1 && mainDataBegin(data.data() + offs[f]) == 0) ++f;
  const int32_t begin = mainDataBegin(data.data() + offs[f]);
  const int32_t mainBytes = static_cast<int32_t>(offs[f + 1] - offs[f]) - 4 - 32;
  for (int32_t fill : {kReservoirMoveAbove, kReservoirMoveAbove + 1}) {
    ASSERT_TRUE(start(0));
    for (int32_t i = 0; i < fill; ++i) gLayer3.reservoir[i] = static_cast<uint8_t>(i * 7);
    gLayer3.fill = fill;
    FrameDecodeJob j = job(f);
    ASSERT_TRUE(decodeFrame(j));
    if (fill > kReservoirMoveAbove) {
      EXPECT_EQ(gLayer3.fill, begin + mainBytes);
      EXPECT_EQ(gLayer3.reservoir[0], static_cast<uint8_t>((fill - begin) * 7));
    } else {
      EXPECT_EQ(gLayer3.fill, fill + mainBytes);
    }
  }
}

// A stream header for startDecoding: four header bytes and zeros.
std::vector<uint8_t> streamStart(uint8_t b1, uint8_t b2, uint8_t b3) {
  std::vector<uint8_t> s(200, 0);
  s[0] = 0xFF, s[1] = b1, s[2] = b2, s[3] = b3;
  return s;
}

TEST_F(DecoderCore, LayerIIILimitsFollowRateShiftAndBandwidth) {
  struct Case {
    uint8_t b1, b2;
    DecoderOptions options;
    bool full;
    int32_t subbands, lineLimit, longLimit, shortLimit;
  } cases[] = {
      {0xFB, 0x90, {0, 0, 24000}, false, 31, 558, 558, 558},  // MPEG-1 44.1 kHz
      {0xFB, 0x90, {1, 0, 24000}, false, 15, 270, 270, 270}, {0xFB, 0x90, {2, 0, 24000}, false, 8, 144, 144, 144},
      {0xFB, 0x90, {0, 0, 8000}, false, 12, 216, 216, 216},  {0xFB, 0x90, {0, 0, 24000}, true, 32, 576, 576, 576},
      {0xF3, 0x80, {0, 0, 24000}, false, 31, 530, 522, 522},  // MPEG-2 22.05 kHz
      {0xF3, 0x80, {0, 0, 24000}, true, 32, 576, 576, 576},
  };
  for (const Case& c : cases) {
    setDecoderOptions(c.options);
    setFullBandwidthForTesting(c.full);
    const auto s = streamStart(c.b1, c.b2, 0x00);
    ASSERT_TRUE(startDecoding(s.data(), static_cast<int32_t>(s.size())));
    setFullBandwidthForTesting(false);
    EXPECT_EQ(gLayer3.subbandLimit, c.subbands);
    EXPECT_EQ(gLayer3.lineLimit, c.lineLimit);
    EXPECT_EQ(gLayer3.longLimit, c.longLimit);
    EXPECT_EQ(gLayer3.shortLimit, c.shortLimit);
    EXPECT_EQ(gLayer3.hybridSubbands, (c.lineLimit + 17) / 18);
  }
}

TEST_F(DecoderCore, FramesOfAnotherVersionPlayAsSilence) {
  ASSERT_TRUE(start(0));
  // An MPEG-2 header inside the MPEG-1 stream: measured by the stream's rate.
  std::vector<uint8_t> frame(2000, 0x5A);
  frame[0] = 0xFF, frame[1] = 0xF3, frame[2] = 0xE0, frame[3] = 0x00;
  FrameDecodeJob j{};
  j.input = frame.data();
  j.inputLength = static_cast<int32_t>(frame.size());
  j.output = pcm.data();
  ASSERT_TRUE(decodeFrame(j));
  EXPECT_EQ(j.inputLength, 160000 * 144 / 44100 / 2);
  EXPECT_EQ(j.outputLength, 4608);
  EXPECT_EQ(pcm, std::vector<uint8_t>(4608, 0));
}

}  // namespace
}  // namespace orva

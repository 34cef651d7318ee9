// Frame headers, sync scanning, stream headers with VBR tags, frame lengths.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "decoder/decoder.h"
#include "decoder/frame_header.h"

namespace orva {
namespace {

// Four header bytes from the fields (protection bit set = no CRC).
std::vector<uint8_t> headerBytes(uint8_t syncHigh, int idBit, int layer, int bitrateIndex, int rateIndex, int padding,
                                 int mode, bool crc = false) {
  const uint8_t b1 = static_cast<uint8_t>((syncHigh << 4) | (idBit << 3) | ((4 - layer) << 1) | (crc ? 0 : 1));
  const uint8_t b2 = static_cast<uint8_t>((bitrateIndex << 4) | (rateIndex << 2) | (padding << 1));
  const uint8_t b3 = static_cast<uint8_t>(mode << 6);
  return {0xFF, b1, b2, b3};
}

std::vector<uint8_t> frameOf(const std::vector<uint8_t>& header, size_t size = 1000) {
  std::vector<uint8_t> f(size, 0);
  std::memcpy(f.data(), header.data(), 4);
  return f;
}

void putBig32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

class FrameHeader : public ::testing::Test {
 protected:
  void SetUp() override { setDecoderOptions(options); }
  DecoderOptions options{0, 0, 24000};
};

TEST_F(FrameHeader, ParsesEveryFieldOfAnMpeg1LayerIIIHeader) {
  const uint8_t bytes[4] = {0xFF, 0xFA, 0x93, 0x6F};  // CRC, 128k, 44.1k, pad, private
  MpegFrameHeader h{};
  ASSERT_TRUE(parseFrameHeader(bytes, h));
  EXPECT_EQ(h.version, 1);
  EXPECT_EQ(h.layer, 3);
  EXPECT_EQ(h.hasCrc, 1);
  EXPECT_EQ(h.bitrateIndex, 9);
  EXPECT_EQ(h.sampleRateIndex, 0);
  EXPECT_EQ(h.padding, 1);
  EXPECT_EQ(h.privateBit, 1);
  EXPECT_EQ(h.mode, 1);
  EXPECT_EQ(h.modeExtension, 2);
  EXPECT_EQ(h.copyright, 1);
  EXPECT_EQ(h.original, 1);
  EXPECT_EQ(h.emphasis, 3);
}

TEST_F(FrameHeader, VersionComesFromSyncNibbleAndIdBit) {
  MpegFrameHeader h{};
  ASSERT_TRUE(parseFrameHeader(headerBytes(0xF, 0, 3, 5, 0, 0, 0).data(), h));
  EXPECT_EQ(h.version, 2);
  ASSERT_TRUE(parseFrameHeader(headerBytes(0xE, 0, 3, 5, 0, 0, 0).data(), h));  // FF E2..
  EXPECT_EQ(h.version, 3);
  ASSERT_TRUE(parseFrameHeader(headerBytes(0xE, 1, 3, 5, 0, 0, 0).data(), h));  // FF EA..
  EXPECT_EQ(h.version, 3);
}

TEST_F(FrameHeader, RejectsBadSyncAndOutOfRangeFields) {
  MpegFrameHeader h{};
  struct Case {
    std::vector<uint8_t> bytes;
    int error;
  } cases[] = {
      {{0xFE, 0xFB, 0x90, 0x00}, DECODER_ERR_NO_SYNC},
      {{0xFF, 0xDB, 0x90, 0x00}, DECODER_ERR_NO_SYNC},
      {headerBytes(0xF, 1, 3, 0, 0, 0, 0), DECODER_ERR_BAD_HEADER},   // free format
      {headerBytes(0xF, 1, 3, 15, 0, 0, 0), DECODER_ERR_BAD_HEADER},  // forbidden bitrate
      {headerBytes(0xF, 1, 3, 9, 3, 0, 0), DECODER_ERR_BAD_HEADER},   // reserved rate
      {{0xFF, 0xF9, 0x90, 0x00}, DECODER_ERR_BAD_HEADER},             // layer bits 00
  };
  for (const Case& c : cases) {
    int32_t error = 0;
    EXPECT_FALSE(parseFrameHeader(c.bytes.data(), h, &error));
    EXPECT_EQ(error, c.error);
  }
}

TEST_F(FrameHeader, SyncScanSkipsTheLastThreeBytes) {
  int32_t offset = -1;
  const uint8_t sync[4] = {0xFF, 0xFB, 0x90, 0x00};
  EXPECT_TRUE(findFrameSync(sync, 4, offset));
  EXPECT_EQ(offset, 0);
  EXPECT_FALSE(findFrameSync(sync, 3, offset));
  EXPECT_EQ(offset, 0);
  const uint8_t late[6] = {0x00, 0x12, 0x00, 0xFF, 0xFB, 0x90};
  EXPECT_FALSE(findFrameSync(late, 6, offset));
  const uint8_t mid[7] = {0xFF, 0x12, 0x00, 0xFF, 0xE3, 0x90, 0x00};
  EXPECT_TRUE(findFrameSync(mid, 7, offset));
  EXPECT_EQ(offset, 3);
}

TEST_F(FrameHeader, StreamHeaderNeeds156Bytes) {
  const auto f = frameOf(headerBytes(0xF, 1, 3, 9, 0, 0, 0));
  MpegFrameHeader h{};
  int32_t error = 0;
  EXPECT_FALSE(readStreamHeader(f.data(), 155, options, h, &error));
  EXPECT_EQ(error, DECODER_ERR_NEED_DATA);
  EXPECT_TRUE(readStreamHeader(f.data(), 156, options, h));
}

TEST_F(FrameHeader, ConstantBitrateLayerIIIStream) {
  const auto f = frameOf(headerBytes(0xF, 1, 3, 9, 0, 0, 0));  // 128k 44.1k stereo
  MpegFrameHeader h{};
  ASSERT_TRUE(readStreamHeader(f.data(), 1000, options, h));
  EXPECT_EQ(h.bitrate, 128000);
  EXPECT_EQ(h.minFrameSize, 417);
  EXPECT_EQ(h.maxFrameSize, 418);
  EXPECT_EQ(h.vbrHeaderFrameSize, 0);
  EXPECT_EQ(h.frameCount, 0);
  EXPECT_EQ(h.outputChannels, 2);
  EXPECT_EQ(h.outputBits, 16);
  EXPECT_EQ(h.outputSampleRate, 44100);
  EXPECT_EQ(h.outputBytesPerFrame, 4608);
}

// A file probed while another one plays must leave the playing decoder as
// it was: its remembered stream and its last error.
TEST_F(FrameHeader, ProbingLeavesTheDecoderAlone) {
  initDecoder();
  const auto a = frameOf(headerBytes(0xF, 1, 3, 9, 0, 0, 0));
  const auto b = frameOf(headerBytes(0xF, 0, 3, 8, 0, 0, 3));  // MPEG-2 22.05k mono
  ASSERT_TRUE(startDecoding(a.data(), 1000));
  EXPECT_EQ(streamSampleRate(), 44100);
  EXPECT_EQ(streamOutputBytesPerFrame(), 4608);
  setDecoderError(DECODER_ERR_NEED_DATA);
  MpegFrameHeader h{};
  ASSERT_TRUE(readStreamHeader(b.data(), 1000, options, h));
  EXPECT_EQ(h.outputBytesPerFrame, 1152);
  const auto freeFormat = frameOf(headerBytes(0xF, 1, 3, 0, 0, 0, 0));
  EXPECT_FALSE(readStreamHeader(freeFormat.data(), 1000, options, h));
  EXPECT_FALSE(parseFrameHeader(freeFormat.data(), h));
  const uint8_t noSync[8] = {};
  int32_t offset = 0;
  EXPECT_FALSE(findFrameSync(noSync, 8, offset));
  EXPECT_EQ(streamSampleRate(), 44100);
  EXPECT_EQ(streamOutputBytesPerFrame(), 4608);
  EXPECT_EQ(getDecoderError(), DECODER_ERR_NEED_DATA);
}

TEST_F(FrameHeader, XingTagAtItsLayerIIIOffset) {
  auto f = frameOf(headerBytes(0xF, 1, 3, 9, 0, 1, 0));
  std::memcpy(f.data() + 36, "Xing", 4);
  putBig32(f.data() + 40, 3);
  putBig32(f.data() + 44, 1234);
  putBig32(f.data() + 48, 567890);
  MpegFrameHeader h{};
  ASSERT_TRUE(readStreamHeader(f.data(), 1000, options, h));
  EXPECT_EQ(h.bitrate, 0);
  EXPECT_EQ(h.frameCount, 1234);
  EXPECT_EQ(h.streamBytes, 567890);
  EXPECT_EQ(h.vbrHeaderFrameSize, 418);
  EXPECT_EQ(h.minFrameSize, 104);   // 32 kbit/s
  EXPECT_EQ(h.maxFrameSize, 1045);  // 320 kbit/s + 1

  putBig32(f.data() + 40, 0xC);  // neither count flag
  int32_t error = 0;
  EXPECT_FALSE(readStreamHeader(f.data(), 1000, options, h, &error));
  EXPECT_EQ(error, DECODER_ERR_BAD_HEADER);
}

TEST_F(FrameHeader, InfoTagCountsFramesAndKeepsTheBitrate) {
  auto f = frameOf(headerBytes(0xF, 1, 3, 9, 0, 1, 0));
  std::memcpy(f.data() + 36, "Info", 4);
  putBig32(f.data() + 40, 3);
  putBig32(f.data() + 44, 1234);
  putBig32(f.data() + 48, 567890);
  MpegFrameHeader h{};
  ASSERT_TRUE(readStreamHeader(f.data(), 1000, options, h));
  EXPECT_EQ(h.bitrate, 128000);
  EXPECT_EQ(h.frameCount, 1234);
  EXPECT_EQ(h.streamBytes, 567890);
  EXPECT_EQ(h.vbrHeaderFrameSize, 418);  // the frame is skipped, padding included
  EXPECT_EQ(h.minFrameSize, 417);        // a constant bitrate keeps its sizes
  EXPECT_EQ(h.maxFrameSize, 418);

  // Without either count the tag tells nothing: the frame is audio.
  putBig32(f.data() + 40, 0xC);
  ASSERT_TRUE(readStreamHeader(f.data(), 1000, options, h));
  EXPECT_EQ(h.frameCount, 0);
  EXPECT_EQ(h.vbrHeaderFrameSize, 0);
  EXPECT_EQ(h.bitrate, 128000);
}

TEST_F(FrameHeader, VbriTagAndCrcShiftTheTag) {
  auto f = frameOf(headerBytes(0xF, 0, 3, 8, 1, 0, 3, true));  // MPEG-2 24k mono, CRC
  const int tag = 4 + 2 + 9;
  std::memcpy(f.data() + tag, "VBRI", 4);
  putBig32(f.data() + tag + 10, 99999);
  putBig32(f.data() + tag + 14, 321);
  MpegFrameHeader h{};
  ASSERT_TRUE(readStreamHeader(f.data(), 1000, options, h));
  EXPECT_EQ(h.frameCount, 321);
  EXPECT_EQ(h.streamBytes, 99999);
  EXPECT_EQ(h.bitrate, 0);
  EXPECT_EQ(h.outputBytesPerFrame, 576 * 2);
}

TEST_F(FrameHeader, LayerITagFollowsTheHeaderAndSizesRoundToSlots) {
  auto f = frameOf(headerBytes(0xF, 1, 1, 12, 0, 0, 0));  // 384k 44.1k
  MpegFrameHeader h{};
  ASSERT_TRUE(readStreamHeader(f.data(), 1000, options, h));
  EXPECT_EQ(h.minFrameSize, 416);
  EXPECT_EQ(h.maxFrameSize, 420);
  EXPECT_EQ(h.outputBytesPerFrame, 384 * 4);
  std::memcpy(f.data() + 4, "Xing", 4);
  putBig32(f.data() + 8, 1);
  ASSERT_TRUE(readStreamHeader(f.data(), 1000, options, h));
  EXPECT_EQ(h.vbrHeaderFrameSize, 416);
}

TEST_F(FrameHeader, OptionsShapeTheOutputFormat) {
  options = DecoderOptions{1, 8, 24000};
  const auto f = frameOf(headerBytes(0xF, 1, 2, 10, 1, 0, 0));  // Layer II 48k stereo
  MpegFrameHeader h{};
  ASSERT_TRUE(readStreamHeader(f.data(), 1000, options, h));
  EXPECT_EQ(h.outputSampleRate, 24000);
  EXPECT_EQ(h.outputBits, 8);
  EXPECT_EQ(h.outputChannels, 2);
  EXPECT_EQ(h.outputBytesPerFrame, 1152);
  options = DecoderOptions{2, 3, 24000};
  ASSERT_TRUE(readStreamHeader(f.data(), 1000, options, h));
  EXPECT_EQ(h.outputChannels, 1);
  EXPECT_EQ(h.outputBytesPerFrame, 288 * 2);
  setDecoderOptions(options);
  DecoderOptions back{};
  EXPECT_EQ(getDecoderOptions(back), 1);
  EXPECT_EQ(back.downsampleShift, 2);
  EXPECT_EQ(back.outputFlags, 3);
}

TEST_F(FrameHeader, FrameLengthsUseTheStreamRate) {
  MpegFrameHeader h{};
  ASSERT_TRUE(parseFrameHeader(headerBytes(0xF, 0, 3, 8, 0, 0, 0).data(), h));
  EXPECT_EQ(frameLength(h, 64000, 22050), 208);
  h.padding = 1;
  EXPECT_EQ(frameLength(h, 64000, 22050), 209);
  ASSERT_TRUE(parseFrameHeader(headerBytes(0xF, 1, 1, 12, 0, 1, 0).data(), h));
  EXPECT_EQ(frameLength(h, 384000, 44100), 420);
  ASSERT_TRUE(parseFrameHeader(headerBytes(0xF, 1, 2, 10, 1, 1, 0).data(), h));
  EXPECT_EQ(frameLength(h, 192000, 48000), 577);
  EXPECT_EQ(frameLength(h, 192000, 0), 0);
}

TEST_F(FrameHeader, TableLookupsOutsideTheTablesGiveZero) {
  EXPECT_EQ(bitrateKbps(1, 3, 14), 320);
  EXPECT_EQ(bitrateKbps(3, 2, 1), 8);
  EXPECT_EQ(bitrateKbps(2, 1, 14), 256);
  EXPECT_EQ(bitrateKbps(4, 3, 1), 0);
  EXPECT_EQ(bitrateKbps(1, 3, 16), 0);
  EXPECT_EQ(sampleRateHz(3, 2), 8000);
  EXPECT_EQ(sampleRateHz(2, 3), 0);
  EXPECT_EQ(sampleRateHz(0, 0), 0);
  EXPECT_EQ(readBigEndian32(reinterpret_cast<const uint8_t*>("\x12\x34\x56\x78")), 0x12345678u);
}

}  // namespace
}  // namespace orva

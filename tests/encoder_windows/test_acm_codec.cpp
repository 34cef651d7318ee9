// The encoder's ACM codec against the suite's test Layer-3 codec, which
// scripts/wine-prefix.sh installs in the test prefix: finding it by name,
// its format list, the conversions the engine asks for, and the flush at
// the end. Sources are synthesised here.
#include <gtest/gtest.h>

#include <windows.h>
// mmreg.h and msacm.h need the types of mmsystem.h first.
#include <mmreg.h>
#include <mmsystem.h>
#include <msacm.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "decoder/frame_header.h"
#include "engine/layer3_format_list.h"
#include "engine/win32/acm_codec.h"

namespace orva::encoder {
namespace {

constexpr size_t kStereo44100 = 3;
constexpr size_t kMono22050 = 39;

void putLe16(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  bytes[at] = static_cast<uint8_t>(value);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void putLe32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  putLe16(bytes, at, value & 0xFFFF);
  putLe16(bytes, at + 2, value >> 16);
}

// A PCM fmt chunk's payload as a file holds it (16 bytes unless asked).
std::vector<uint8_t> pcmFmtChunk(uint16_t channels, uint32_t rate, size_t size = 16) {
  std::vector<uint8_t> chunk(size, 0);
  putLe16(chunk, 0, WAVE_FORMAT_PCM);
  putLe16(chunk, 2, channels);
  putLe32(chunk, 4, rate);
  putLe32(chunk, 8, rate * channels * 2);
  putLe16(chunk, 12, channels * 2);
  putLe16(chunk, 14, 16);
  return chunk;
}

// A 440 Hz tone, a different level per channel.
std::vector<uint8_t> tonePcm(uint16_t channels, uint32_t rate, size_t frames) {
  std::vector<uint8_t> pcm(frames * channels * 2);
  for (size_t i = 0; i < frames; ++i) {
    const double wave = std::sin(2 * 3.141592653589793 * 440.0 * static_cast<double>(i) / rate);
    for (uint16_t c = 0; c < channels; ++c) {
      const auto sample = static_cast<int16_t>(wave * (c == 0 ? 12000 : 6000));
      putLe16(pcm, (i * channels + c) * 2, static_cast<uint16_t>(sample));
    }
  }
  return pcm;
}

struct Encoded {
  bool ok = true;
  std::vector<uint8_t> bytes;
  size_t stepsAfterEnd = 0;
};

// Feeds the source as the encoder's worker does: up to 8192 bytes a step,
// the unused tail offered again; with withEnd the last steps say so and are
// repeated until one takes and gives nothing.
Encoded encodeAll(EncoderCodec& codec, const std::vector<uint8_t>& pcm, size_t destinationSize, bool withEnd) {
  Encoded out;
  std::vector<uint8_t> destination(destinationSize);
  size_t offset = 0;
  for (int guard = 0; guard < 100000; ++guard) {
    const size_t offered = std::min<size_t>(pcm.size() - offset, 8192);
    const bool atEnd = withEnd && offset + offered == pcm.size();
    const ConvertStep step = codec.convert({pcm.data() + offset, offered}, destination, atEnd);
    if (!step.ok) {
      out.ok = false;
      return out;
    }
    out.bytes.insert(out.bytes.end(), destination.begin(), destination.begin() + step.destinationUsed);
    offset += step.sourceUsed;
    if (atEnd) ++out.stepsAfterEnd;
    if (step.sourceUsed == 0 && step.destinationUsed == 0) return out;
  }
  out.ok = false;
  return out;
}

struct FrameWalk {
  std::vector<MpegFrameHeader> headers;
  size_t unparsedBytes = 0;
};

// Walks the raw Layer-3 stream frame by frame from its first byte.
FrameWalk walkFrames(const std::vector<uint8_t>& stream) {
  FrameWalk walk;
  size_t offset = 0;
  while (stream.size() - offset >= 4) {
    MpegFrameHeader header{};
    if (!parseFrameHeader(stream.data() + offset, header)) break;
    const int32_t kbps = bitrateKbps(header.version, header.layer, header.bitrateIndex);
    const int32_t rate = sampleRateHz(header.version, header.sampleRateIndex);
    const size_t length = static_cast<size_t>((header.version == 1 ? 144 : 72) * kbps * 1000 / rate + header.padding);
    if (length < 4) break;
    walk.headers.push_back(header);
    offset += std::min(length, stream.size() - offset);
  }
  walk.unparsedBytes = stream.size() - offset;
  return walk;
}

size_t samplesPerFrame(const MpegFrameHeader& header) { return header.version == 1 ? 1152 : 576; }

class AcmCodecTest : public ::testing::Test {
 protected:
  void SetUp() override {
    codec_ = makeEncoderCodec();
    ASSERT_NE(codec_, nullptr);
    ASSERT_EQ(codec_->findCodec(), CodecStatus::Ok) << "is the test codec registered in the prefix?";
  }
  void TearDown() override {
    if (codec_) codec_->close();
  }

  std::unique_ptr<EncoderCodec> codec_;
};

// The test driver's tag-85 formats as the ACM itself lists them.
struct ListedFormat {
  WORD channels;
  DWORD rate;
  DWORD bytesPerSecond;
};

BOOL CALLBACK findTestDriver(HACMDRIVERID id, DWORD_PTR instance, DWORD) {
  ACMDRIVERDETAILSA details{};
  details.cbStruct = sizeof(details);
  if (acmDriverDetailsA(id, &details, 0) == MMSYSERR_NOERROR &&
      std::strcmp(details.szLongName, kAcmLayer3CodecName) == 0) {
    *reinterpret_cast<HACMDRIVERID*>(instance) = id;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK keepFormat(HACMDRIVERID, LPACMFORMATDETAILSA details, DWORD_PTR instance, DWORD) {
  reinterpret_cast<std::vector<ListedFormat>*>(instance)->push_back(
      {details->pwfx->nChannels, details->pwfx->nSamplesPerSec, details->pwfx->nAvgBytesPerSec});
  return TRUE;
}

std::vector<ListedFormat> listTestDriverFormats() {
  std::vector<ListedFormat> formats;
  HACMDRIVERID id = nullptr;
  acmDriverEnum(findTestDriver, reinterpret_cast<DWORD_PTR>(&id), 0);
  HACMDRIVER driver = nullptr;
  if (!id || acmDriverOpen(&driver, id, 0) != MMSYSERR_NOERROR) return formats;
  MPEGLAYER3WAVEFORMAT format{};
  format.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  ACMFORMATDETAILSA details{};
  details.cbStruct = sizeof(details);
  details.dwFormatTag = WAVE_FORMAT_MPEGLAYER3;
  details.pwfx = &format.wfx;
  details.cbwfx = sizeof(format);
  acmFormatEnumA(driver, &details, keepFormat, reinterpret_cast<DWORD_PTR>(&formats), ACM_FORMATENUMF_WFORMATTAG);
  acmDriverClose(driver, 0);
  return formats;
}

TEST_F(AcmCodecTest, FindsTheCodecAndListsTheEngineFormatsInOrder) {
  const auto expected = layer3FormatList();
  EXPECT_EQ(codec_->formatCount(), expected.size());
  const std::vector<ListedFormat> listed = listTestDriverFormats();
  ASSERT_EQ(listed.size(), expected.size());
  for (size_t i = 0; i < listed.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(listed[i].channels, expected[i].channels);
    EXPECT_EQ(listed[i].rate, expected[i].samplesPerSecond);
    EXPECT_EQ(listed[i].bytesPerSecond, expected[i].kilobitsPerSecond * 125u);
  }
}

TEST(AcmCodecNotInstalled, ANameNoDriverReportsIsNotInstalled) {
  auto codec = makeAcmCodecLookingFor("Orva Layer-3 Codec That Is Not There");
  ASSERT_NE(codec, nullptr);
  EXPECT_EQ(codec->findCodec(), CodecStatus::NotInstalled);
  EXPECT_EQ(codec->formatCount(), 0u);
  EXPECT_EQ(codec->openConversion(pcmFmtChunk(2, 44100), 0), CodecStatus::NotInstalled);
  std::vector<uint8_t> destination(2048);
  EXPECT_FALSE(codec->convert({}, destination, true).ok);
  codec->close();
}

TEST_F(AcmCodecTest, Stereo44100AtIndexThreeGivesFramesOf192KbitStereo) {
  ASSERT_EQ(codec_->openConversion(pcmFmtChunk(2, 44100), kStereo44100), CodecStatus::Ok);
  const Encoded encoded = encodeAll(*codec_, tonePcm(2, 44100, 44100), 2048, true);
  ASSERT_TRUE(encoded.ok);
  const FrameWalk walk = walkFrames(encoded.bytes);
  ASSERT_FALSE(walk.headers.empty());
  EXPECT_EQ(walk.unparsedBytes, 0u);
  const MpegFrameHeader& first = walk.headers.front();
  EXPECT_EQ(first.version, 1);
  EXPECT_EQ(first.layer, 3);
  EXPECT_EQ(bitrateKbps(first.version, first.layer, first.bitrateIndex), 192);
  EXPECT_EQ(sampleRateHz(first.version, first.sampleRateIndex), 44100);
  EXPECT_NE(first.mode, 3) << "a stereo source gives a stereo stream";
}

TEST_F(AcmCodecTest, Mono22050AtItsIndexGivesMpeg2MonoFrames) {
  ASSERT_EQ(codec_->openConversion(pcmFmtChunk(1, 22050, 18), kMono22050), CodecStatus::Ok);
  const Encoded encoded = encodeAll(*codec_, tonePcm(1, 22050, 22050), 2048, true);
  ASSERT_TRUE(encoded.ok);
  const FrameWalk walk = walkFrames(encoded.bytes);
  ASSERT_FALSE(walk.headers.empty());
  const MpegFrameHeader& first = walk.headers.front();
  EXPECT_EQ(first.version, 2);
  EXPECT_EQ(bitrateKbps(first.version, first.layer, first.bitrateIndex), 48);
  EXPECT_EQ(sampleRateHz(first.version, first.sampleRateIndex), 22050);
  EXPECT_EQ(first.mode, 3);
}

TEST_F(AcmCodecTest, SourcesTheChosenFormatCannotTakeAreRefused) {
  // Another rate, another channel count, a rate no format has, and an index
  // past the list.
  EXPECT_EQ(codec_->openConversion(pcmFmtChunk(2, 44100), 0), CodecStatus::CannotConvert);
  EXPECT_EQ(codec_->openConversion(pcmFmtChunk(1, 44100), kStereo44100), CodecStatus::CannotConvert);
  EXPECT_EQ(codec_->openConversion(pcmFmtChunk(2, 96000), kStereo44100), CodecStatus::CannotConvert);
  EXPECT_EQ(codec_->openConversion(pcmFmtChunk(2, 44100), codec_->formatCount()), CodecStatus::CannotConvert);
  // Too short to be a format, and one whose extra size runs past the chunk.
  EXPECT_EQ(codec_->openConversion(std::vector<uint8_t>(14, 0), kStereo44100), CodecStatus::CannotConvert);
  std::vector<uint8_t> overlong = pcmFmtChunk(2, 44100, 18);
  putLe16(overlong, 0, WAVE_FORMAT_EXTENSIBLE);
  putLe16(overlong, 16, 0xFFFF);
  EXPECT_EQ(codec_->openConversion(overlong, kStereo44100), CodecStatus::CannotConvert);
  // None of them left a stream behind.
  EXPECT_EQ(codec_->openConversion(pcmFmtChunk(2, 44100), kStereo44100), CodecStatus::Ok);
}

TEST_F(AcmCodecTest, TheEndFlushesTheWholeSourceAndThenStops) {
  const size_t frames = 44100 * 3 / 2 + 17;
  const std::vector<uint8_t> pcm = tonePcm(2, 44100, frames);
  ASSERT_EQ(codec_->openConversion(pcmFmtChunk(2, 44100), kStereo44100), CodecStatus::Ok);
  const Encoded flushed = encodeAll(*codec_, pcm, 2048, true);
  ASSERT_TRUE(flushed.ok);
  EXPECT_GE(flushed.stepsAfterEnd, 2u) << "the step after the flush takes and gives nothing";
  const FrameWalk walk = walkFrames(flushed.bytes);
  EXPECT_EQ(walk.unparsedBytes, 0u);
  EXPECT_GE(walk.headers.size() * samplesPerFrame(walk.headers.front()), frames);
  codec_->close();

  // Without the end the codec keeps its last frames.
  ASSERT_EQ(codec_->findCodec(), CodecStatus::Ok);
  ASSERT_EQ(codec_->openConversion(pcmFmtChunk(2, 44100), kStereo44100), CodecStatus::Ok);
  const Encoded held = encodeAll(*codec_, pcm, 2048, false);
  ASSERT_TRUE(held.ok);
  EXPECT_LT(held.bytes.size(), flushed.bytes.size());
  EXPECT_EQ(std::memcmp(held.bytes.data(), flushed.bytes.data(), held.bytes.size()), 0);
}

TEST_F(AcmCodecTest, ATailShorterThanASampleFrameStillEnds) {
  // A data chunk of odd size, or the bytes of a chunk after it, leave less
  // than one sample frame at the end: the codec flushes and stops anyway.
  std::vector<uint8_t> pcm = tonePcm(2, 44100, 5000);
  pcm.insert(pcm.end(), {0x12, 0x34, 0x56});
  ASSERT_EQ(codec_->openConversion(pcmFmtChunk(2, 44100), kStereo44100), CodecStatus::Ok);
  const Encoded encoded = encodeAll(*codec_, pcm, 2048, true);
  ASSERT_TRUE(encoded.ok) << "the steps at the end never stopped";
  const FrameWalk walk = walkFrames(encoded.bytes);
  EXPECT_EQ(walk.unparsedBytes, 0u);
  EXPECT_GE(walk.headers.size() * 1152, 5000u);
}

TEST_F(AcmCodecTest, ASmallDestinationTakesTheSameStreamInPieces) {
  const std::vector<uint8_t> pcm = tonePcm(2, 44100, 30000);
  ASSERT_EQ(codec_->openConversion(pcmFmtChunk(2, 44100), kStereo44100), CodecStatus::Ok);
  const Encoded whole = encodeAll(*codec_, pcm, 2048, true);
  codec_->close();
  ASSERT_EQ(codec_->findCodec(), CodecStatus::Ok);
  ASSERT_EQ(codec_->openConversion(pcmFmtChunk(2, 44100), kStereo44100), CodecStatus::Ok);
  const Encoded pieces = encodeAll(*codec_, pcm, 333, true);
  ASSERT_TRUE(whole.ok);
  ASSERT_TRUE(pieces.ok);
  ASSERT_EQ(pieces.bytes.size(), whole.bytes.size());
  EXPECT_TRUE(pieces.bytes == whole.bytes) << "the same bytes in the same order";
}

TEST_F(AcmCodecTest, CloseIsSafeTwiceAndEndsTheConversion) {
  ASSERT_EQ(codec_->openConversion(pcmFmtChunk(2, 44100), kStereo44100), CodecStatus::Ok);
  codec_->close();
  codec_->close();
  std::vector<uint8_t> source(8192), destination(2048);
  EXPECT_FALSE(codec_->convert(source, destination, false).ok);
  EXPECT_EQ(codec_->openConversion(pcmFmtChunk(2, 44100), kStereo44100), CodecStatus::NotInstalled);
}

}  // namespace
}  // namespace orva::encoder

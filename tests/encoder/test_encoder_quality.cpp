// What the encoder makes: for each of a set of source shapes, the stream's
// first frame has the format the choice table asks for, and our decoder
// gives back the source's channels, rate, length and sound.
//
// The sound bar: after aligning the codec's delay, the decoded signal must
// stay within 12 dB SNR of the source (correlation above 0.97). Constant
// bit rate coding of these tones measures 26 to 30 dB at every rate of the
// table, while every fault of the path we own (a
// swapped or mixed channel, 8-bit samples taken as signed, a byte shifted
// out of place, a block dropped or repeated) brings it below 3 dB.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/decoder/decode_util.h"
#include "tests/encoder/encoder_fixtures.h"
#include "tests/support/test_support.h"

namespace orva::test {
namespace {

constexpr double kMinSnrDb = 12.0;
constexpr int kMaxDelay = 4000;  // codec and decoder delay searched, in sample frames

struct Shape {
  PcmShape pcm;
  int kbps;  // of the first frame
};

// Interleaved samples as the source file holds them, as floats.
std::vector<float> sourceAsStored(const std::vector<int16_t>& samples, int bits) {
  std::vector<float> out(samples.size());
  for (size_t i = 0; i < samples.size(); ++i)
    out[i] = bits == 8 ? static_cast<float>((samples[i] >> 8) * 256) : samples[i];
  return out;
}

// Sample frames by which `decoded` lags `source`, found on a window from the
// middle of the source.
int findDelay(const std::vector<float>& source, const std::vector<float>& decoded, int channels) {
  const int64_t frames = static_cast<int64_t>(source.size()) / channels;
  const int64_t start = frames / 2, length = std::min<int64_t>(8192, frames / 4);
  int best = 0;
  double bestScore = -1e300;
  for (int delay = 0; delay <= kMaxDelay; ++delay) {
    if ((start + length + delay) * channels > static_cast<int64_t>(decoded.size())) break;
    double score = 0;
    for (int64_t i = start * channels; i < (start + length) * channels; ++i)
      score += source[i] * decoded[i + delay * channels];
    if (score > bestScore) bestScore = score, best = delay;
  }
  return best;
}

double snrDb(const std::vector<float>& source, const std::vector<float>& decoded, int channels, int delay) {
  double signal = 0, noise = 0;
  for (size_t i = 0; i < source.size() && i + delay * channels < decoded.size(); ++i) {
    const double d = source[i] - decoded[i + static_cast<size_t>(delay * channels)];
    signal += double{source[i]} * source[i];
    noise += d * d;
  }
  return 10 * std::log10(signal / std::max(noise, 1e-9));
}

class EncoderQuality : public ::testing::TestWithParam<Shape> {
 protected:
  void SetUp() override { engineInit(); }
  void TearDown() override { engineShutdown(); }
  TempDir dir;
};

TEST_P(EncoderQuality, DecodesBackToTheSource) {
  const PcmShape& shape = GetParam().pcm;
  // Not a whole number of frames, so the stream's tail must be flushed; and
  // a second of loud bytes after the data chunk that must not be encoded.
  const int64_t frames = 2 * shape.rate + 777;
  const auto samples = chirpSamples(shape, frames);
  std::vector<uint8_t> trailer(static_cast<size_t>(shape.rate * shape.channels * shape.bits / 8));
  for (size_t i = 0; i < trailer.size(); ++i) trailer[i] = static_cast<uint8_t>(i * 2654435761u >> 13);
  const std::string source = dir.file("in.wav"), destination = dir.file("out.mp3");
  ASSERT_TRUE(writeFileBytes(source, waveFile(shape, pcmBytes(samples, shape.bits), {}, chunk("LIST", trailer))));
  ASSERT_EQ(encodeFile(source, destination), ENCODER_RESULT_FINISHED);

  StreamInfo info{};
  ASSERT_EQ(engineOpen(destination.c_str(), &info), 1);
  EXPECT_EQ(info.bitRate, GetParam().kbps);
  EXPECT_EQ(info.channels, shape.channels);
  EXPECT_EQ(info.sampleRate, shape.rate);
  engineClose();

  DecodedStream decoded;
  ASSERT_TRUE(decodeStream(readFileBytes(destination), DecodeSettings{}, decoded));
  EXPECT_EQ(decoded.resyncs, 0);
  ASSERT_EQ(decoded.channels, shape.channels);
  ASSERT_EQ(decoded.sampleRate, shape.rate);
  const std::vector<float> original = sourceAsStored(samples, shape.bits);
  const std::vector<float> output = samplesOf(decoded);
  const int delay = findDelay(original, output, shape.channels);
  const int64_t decodedFrames = static_cast<int64_t>(output.size()) / shape.channels;
  const int frameSamples = shape.rate >= 32000 ? 1152 : 576;
  // The whole source is there after the delay, and at most one frame more
  // and the granule the codec keeps for the transform's overlap at the end.
  EXPECT_GE(decodedFrames, frames + delay);
  EXPECT_LE(decodedFrames, frames + delay + frameSamples + 576);
  const double snr = snrDb(original, output, shape.channels, delay);
  EXPECT_GT(snr, kMinSnrDb) << "delay " << delay;
  RecordProperty("snr_db", std::to_string(snr));
  std::printf("%d ch %d Hz %d bit: SNR %.1f dB, delay %d, %lld frames over\n", shape.channels, shape.rate, shape.bits,
              snr, delay, static_cast<long long>(decodedFrames - frames - delay));
}

INSTANTIATE_TEST_SUITE_P(Shapes, EncoderQuality,
                         ::testing::Values(Shape{{2, 44100, 16}, 192}, Shape{{1, 44100, 16}, 96},
                                           Shape{{2, 48000, 16}, 192}, Shape{{1, 32000, 8}, 80},
                                           Shape{{2, 22050, 16}, 96}, Shape{{1, 16000, 16}, 40},
                                           Shape{{2, 11025, 8}, 48}, Shape{{1, 8000, 16}, 24}));

TEST(EncoderFirstFrame, StereoAt44100HzIsMpeg1Layer3At192Kbps) {
  engineInit();
  TempDir dir;
  const PcmShape shape{2, 44100, 16};
  writeFileBytes(dir.file("in.wav"), waveFile(shape, pcmBytes(chirpSamples(shape, 4410), 16)));
  ASSERT_EQ(encodeFile(dir.file("in.wav"), dir.file("out.mp3")), ENCODER_RESULT_FINISHED);
  const auto bytes = readFileBytes(dir.file("out.mp3"));
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1] & 0xFE, 0xFA);   // MPEG-1 Layer III: no container, no VBR header frame
  EXPECT_EQ(bytes[2] >> 4, 11);       // 192 kbit/s
  EXPECT_EQ((bytes[2] >> 2) & 3, 0);  // 44100 Hz
  engineShutdown();
}

}  // namespace
}  // namespace orva::test

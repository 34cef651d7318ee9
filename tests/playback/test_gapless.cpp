// Streams whose first frame is an "Info" or "Xing" header with the encoder's
// delay and padding, made here by the `lame` encoder from tones this file
// synthesises: the header frame is not played, and with the gapless switch
// on the engine's output, totals and positions count exactly the source's
// samples, at the source's place. Those are skipped where `lame` cannot be
// run; two encoder-made streams kept in the tree are checked everywhere.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/playback/playback_test.h"

namespace orva::test {
namespace {

struct Clip {
  int32_t rate;
  int32_t channels;
  bool vbr;
  int32_t samples;  // per channel
};

// Two tones per channel at fractions of the rate: a shift of one sample
// changes the signal far more than the encoder does. The lower one rises
// over the clip, so that no shift of a whole period looks alike either.
int16_t toneAt(const Clip& c, int32_t channel, int32_t i) {
  const double pi = 3.14159265358979323846;
  const double low = channel == 0 ? 100.0 : 130.0, high = channel == 0 ? 16.0 : 19.0;
  const double rise = static_cast<double>(i) * i / (100.0 * c.samples);
  const double v = 0.3 * std::sin(2 * pi * (i / low + rise)) + 0.2 * std::sin(2 * pi * i / high);
  return static_cast<int16_t>(std::lround(v * 32767.0));
}

int32_t kbpsOf(const Clip& c) { return c.rate >= 32000 ? 128 : (c.rate >= 16000 ? 64 : 32); }

Bytes sourceWave(const Clip& c) {
  Bytes pcm;
  for (int32_t i = 0; i < c.samples; ++i) {
    for (int32_t ch = 0; ch < c.channels; ++ch) putLe16(pcm, static_cast<uint16_t>(toneAt(c, ch, i)));
  }
  return riffWave(1, static_cast<uint16_t>(c.channels), static_cast<uint32_t>(c.rate), 16, pcm);
}

std::vector<int16_t> samplesOf(const std::vector<uint8_t>& bytes, size_t from) {
  std::vector<int16_t> out;
  for (size_t i = from; i + 1 < bytes.size(); i += 2) out.push_back(static_cast<int16_t>(bytes[i] | bytes[i + 1] << 8));
  return out;
}

// The samples of a WAV file the engine wrote: its data follow a 44-byte
// header.
std::vector<int16_t> waveSamples(const std::string& path) { return samplesOf(readFileBytes(path), 44); }

// Signal-to-difference ratio in dB of `decoded` against the source, with
// decoded sample k compared to source sample (k << shift) - offset (frames
// of all channels), over the samples both have.
double snrAt(const Clip& c, const std::vector<int16_t>& decoded, int32_t offset, int32_t shift = 0) {
  double signal = 0, noise = 0;
  const int32_t frames = static_cast<int32_t>(decoded.size()) / c.channels;
  for (int32_t k = 0; k < frames; ++k) {
    const int32_t i = (k << shift) - offset;
    if (i < 0 || i >= c.samples) continue;
    for (int32_t ch = 0; ch < c.channels; ++ch) {
      const double s = toneAt(c, ch, i), d = decoded[size_t(k) * c.channels + ch];
      signal += s * s;
      noise += (s - d) * (s - d);
    }
  }
  return 10 * std::log10(signal / (noise + 1e-9));
}

// The offset in from-range..from+range where the decode matches the source
// best.
int32_t bestOffset(const Clip& c, const std::vector<int16_t>& decoded, int32_t from, int32_t range, int32_t shift = 0) {
  int32_t best = from;
  for (int32_t o = from - range; o <= from + range; ++o) {
    if (snrAt(c, decoded, o, shift) > snrAt(c, decoded, best, shift)) best = o;
  }
  return best;
}

bool silentFrom(const std::vector<int16_t>& samples, int32_t from) {
  for (size_t i = static_cast<size_t>(from); i < samples.size(); ++i) {
    if (samples[i] != 0) return false;
  }
  return true;
}

class GaplessTest : public PlaybackTest {
 protected:
  void SetUp() override {
    PlaybackTest::SetUp();
    engineGetSettings(&settings_);
    const std::string out = dir_.file("lame-version.txt");
    const std::string probe = "lame --version > \"" + out + "\" 2>&1";
    if (std::system(probe.c_str()) != 0) GTEST_SKIP() << "lame cannot be run here; no clips to check";
  }

  // The engine keeps its settings through engineInit: the next tests get
  // theirs back.
  void TearDown() override {
    PlaybackTest::TearDown();
    engineSetSettings(&settings_);
  }

  // The clip encoded by lame at its own rate (a failure when lame fails).
  std::string encode(const Clip& c) {
    char name[32], command[256];
    std::snprintf(name, sizeof name, "%d_%d_%d", c.rate, c.channels, c.vbr ? 1 : 0);
    const std::string wav = write(std::string(name) + ".wav", sourceWave(c));
    const std::string mp3 = wav + ".mp3";
    std::snprintf(command, sizeof command, "lame --quiet %s%d --resample %g \"%s\" \"%s\" > \"%s\" 2>&1",
                  c.vbr ? "-V " : "-b ", c.vbr ? 4 : kbpsOf(c), c.rate / 1000.0, wav.c_str(), mp3.c_str(),
                  dir_.file("lame.txt").c_str());
    EXPECT_EQ(std::system(command), 0) << command;
    return mp3;
  }

  // Decodes through the engine to a WAV file and returns its samples.
  std::vector<int16_t> decode(const std::string& mp3) {
    const std::string out = mp3 + ".out.wav";
    EXPECT_EQ(engineOpen(mp3.c_str(), &info_), 1) << mp3;
    EXPECT_EQ(engineDecodeToWave(out.c_str()), 1);
    EXPECT_TRUE(waitForState(ENGINE_STOPPED));
    engineClose();
    return waveSamples(out);
  }

  DecoderSettings settings_{};
};

const Clip kClips[] = {
    {44100, 1, false, 22050 + 37}, {44100, 2, true, 22050 + 1},  {22050, 2, false, 11025 + 300},
    {8000, 1, true, 4000 + 11},    {48000, 2, false, 24000 + 5}, {24000, 1, true, 12000 + 999},
};

TEST_F(GaplessTest, TheHeaderFrameIsNotPlayedAndGaplessDecodesExactlyTheSource) {
  for (const Clip& c : kClips) {
    SCOPED_TRACE(std::to_string(c.rate) + " Hz, " + std::to_string(c.channels) + " ch, " + (c.vbr ? "VBR" : "CBR"));
    const std::string mp3 = encode(c);

    // Off: every frame after the header plays, the source after the
    // encoder's 576 samples and the synthesis filterbank's 529; an "Info"
    // header keeps the stream's bitrate.
    ASSERT_EQ(engineSetGapless(0), 1);
    const std::vector<int16_t> full = decode(mp3);
    EXPECT_EQ(bestOffset(c, full, 1105, 4), 1105);
    FileInfo f{};
    ASSERT_EQ(engineOpen(mp3.c_str(), &info_), 1);
    ASSERT_EQ(engineGetHeaderInfo(&f), 1);
    EXPECT_EQ(info_.bitRate, c.vbr ? 0 : kbpsOf(c));
    const int32_t perFrame = c.rate >= 32000 ? 1152 : 576;
    EXPECT_EQ(engineGetTotalSamples(), f.frames * perFrame);
    EXPECT_EQ(static_cast<int32_t>(full.size()), f.frames * perFrame * c.channels);

    ASSERT_EQ(engineSetGapless(1), 1);  // applies to the open file at once
    EXPECT_EQ(engineGetTotalSamples(), c.samples);
    engineClose();
    const std::vector<int16_t> trimmed = decode(mp3);
    EXPECT_EQ(info_.durationSeconds, c.samples / c.rate);
    EXPECT_EQ(static_cast<int32_t>(trimmed.size()), c.samples * c.channels);
    EXPECT_EQ(bestOffset(c, trimmed, 0, 4), 0);
    EXPECT_GT(snrAt(c, trimmed, 0), 20.0);
  }
}

TEST_F(GaplessTest, DownsampledOutputKeepsTheSourcesShare) {
  const Clip c{48000, 2, true, 24000 + 5};
  const std::string mp3 = encode(c);
  ASSERT_EQ(engineSetGapless(1), 1);
  for (int32_t shift : {1, 2}) {
    const DecoderOptions options{shift, 0, 24000};
    ASSERT_EQ(engineSetDecoderOptions(&options), 1);
    const std::vector<int16_t> reduced = decode(mp3);
    const double exact = static_cast<double>(c.samples) / (1 << shift);
    EXPECT_LE(std::fabs(static_cast<double>(reduced.size() / 2) - exact), 1.0) << shift;
    // Sample k of the reduced output lies at source sample k << shift, less
    // a fraction of one reduced sample that the reduced filterbank adds.
    const int32_t lag = bestOffset(c, reduced, 0, 8, shift);
    EXPECT_GE(lag, 0) << shift;
    EXPECT_LT(lag, 1 << shift) << shift;
    EXPECT_GT(snrAt(c, reduced, lag, shift), 20.0) << shift;
  }
}

TEST_F(GaplessTest, DevicePlaybackAndSeeksCountSourceSamples) {
  const Clip c{44100, 1, false, 2 * 44100 + 37};
  const std::string mp3 = encode(c);
  ASSERT_EQ(engineSetGapless(1), 1);
  const DecoderSettings frameBlocks{30, 1, 0, 0};  // one frame per device block
  ASSERT_EQ(engineSetSettings(&frameBlocks), 1);
  open(mp3);
  ASSERT_EQ(enginePlay(), 1);
  playToEnd();
  // The queue fills its last block with silence: the source, then zeros.
  const std::vector<int16_t> played = samplesOf(capture_.bytes(), 0);
  ASSERT_GE(played.size(), size_t(c.samples));
  EXPECT_EQ(bestOffset(c, played, 0, 4), 0);
  EXPECT_TRUE(silentFrom(played, c.samples));

  // A seek lands on a frame boundary of the decoded stream, at or after the
  // target, and the base counts source samples. The stopped
  // clock lets the thread fill the device's 32 blocks and wait; it takes the
  // seek once one block is played.
  device_.setClock(VirtualClock::Manual);
  const size_t blocksBefore = capture_.blockLengths().size();
  ASSERT_EQ(enginePlay(), 1);
  for (int32_t i = 0; i < 2000 && capture_.blockLengths().size() < blocksBefore + 32; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_EQ(engineSeekSamples(c.samples / 2), 1);
  device_.advance(1152);
  // The measuring walk raises the base frame by frame up to the target.
  for (int32_t i = 0; i < 2000 && gEngine.positionBase.load() < c.samples / 2; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  const int32_t base = static_cast<int32_t>(gEngine.positionBase.load());
  EXPECT_GE(base, c.samples / 2);
  EXPECT_LT(base, c.samples / 2 + 1152);
  playToEnd();

  // The device's last sound is the source's last sample.
  const std::vector<int16_t> all = samplesOf(capture_.bytes(), 0);
  size_t end = all.size();
  while (end > 0 && all[end - 1] == 0) --end;
  ASSERT_GT(end, size_t{4000});
  const std::vector<int16_t> last(all.begin() + static_cast<std::ptrdiff_t>(end - 4000), all.begin() + end);
  EXPECT_NEAR(bestOffset(c, last, 4000 - c.samples, 4), 4000 - c.samples, 1);
  EXPECT_GT(snrAt(c, last, 4000 - c.samples), 20.0);
}

// The frame-header fuzz target's encoder-made seeds: 2205 samples of a tone
// at 22050 Hz, mono, as "Info" (64 kbit/s) and "Xing" streams. These run
// wherever the tests do, lame or not.
using GaplessSeedTest = PlaybackTest;

TEST_F(GaplessSeedTest, EncoderMadeSeedsDecodeToTheirSourceCount) {
  const std::string seeds = joinPath(joinPath(joinPath(sourceDir(), "fuzz"), "seeds"), "frame_header");
  for (const char* name : {"info_gap.mp3", "xing_gap.mp3"}) {
    SCOPED_TRACE(name);
    const std::string path = joinPath(seeds, name);
    const std::string out = dir_.file(std::string(name) + ".wav");
    ASSERT_EQ(engineSetGapless(1), 1);
    open(path);
    EXPECT_EQ(engineGetTotalSamples(), 2205);
    ASSERT_EQ(engineDecodeToWave(out.c_str()), 1);
    ASSERT_TRUE(waitForState(ENGINE_STOPPED));
    engineClose();
    EXPECT_EQ(waveSamples(out).size(), size_t{2205});
  }
}

TEST_F(GaplessSeedTest, TheSwitchIsRefusedWhilePlayingAndLeavesOtherStreamsAlone) {
  const std::string plain = write("plain.mp3", silentL3Frames(20));
  ASSERT_EQ(engineSetGapless(1), 1);
  EXPECT_EQ(engineGetGapless(), 1);
  Bytes xing = l3XingFrame(20, 20 * kL3FrameSize);
  append(xing, silentL3Frames(20));
  const std::string header = write("xing.mp3", xing);
  for (const std::string& path : {plain, header}) {
    const std::string out = path + ".wav";
    open(path);
    ASSERT_EQ(engineDecodeToWave(out.c_str()), 1);
    ASSERT_TRUE(waitForState(ENGINE_STOPPED));
    engineClose();
    EXPECT_EQ(waveSamples(out).size(), size_t{20 * 1152 * 2}) << path;
  }

  device_.setClock(VirtualClock::Manual);
  open(plain);
  ASSERT_EQ(enginePlay(), 1);
  EXPECT_EQ(engineSetGapless(0), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_BUSY);
  EXPECT_EQ(engineGetGapless(), 1);
}

}  // namespace
}  // namespace orva::test

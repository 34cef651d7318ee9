// The analyser's readers on another thread while the playback thread fills
// the output ring: on the virtual device at several times real time, and
// on the platform's own device (winmm under Wine, ALSA's null plugin here).
// Every reading is either nothing yet or the tone that is playing.
#include <algorithm>
#include <cmath>
#include <thread>

#include "tests/playback/playback_test.h"

namespace orva::test {
namespace {

constexpr int32_t kToneBand = 32;  // 32 periods in 512 frames

// A stereo 16-bit WAV of the tone: the left at 3/4 of full scale, the right
// at a quarter.
Bytes toneWave(int32_t seconds) {
  Bytes pcm;
  for (int32_t i = 0; i < seconds * 44100; ++i) {
    const double s = std::sin(2.0 * 3.14159265358979323846 * kToneBand * i / 512.0);
    for (const double scale : {24576.0, 8192.0}) {
      const auto v = static_cast<int16_t>(std::lround(scale * s));
      pcm.push_back(static_cast<uint8_t>(v & 0xFF));
      pcm.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
  }
  return riffWave(1, 2, 44100, 16, pcm);
}

struct Readings {
  int32_t spectra = 0;
  int32_t waveforms = 0;
  int32_t wrong = 0;
};

// Reads until the engine stops, as a host's drawing timer would. Until the
// tone's last 512 frames play every reading must be the tone; from there on
// the window takes in the silence that fills the last block.
Readings readWhilePlaying(int32_t seconds) {
  const int64_t toneMayEnd = int64_t{seconds} * 44100 - 512;
  Readings r;
  int32_t left[256], right[256];
  while (engineGetState(nullptr) != ENGINE_STOPPED) {
    const bool played = outputGetPosition() >= 512;  // read before: positions only grow
    const int32_t frames = engineGetSpectrum(left, right);
    // Read after; 0 once the engine has closed the device at the end.
    const int64_t after = outputGetPosition();
    const bool toneOnly = after >= 512 && after < toneMayEnd;
    if (frames == 0 && played && toneOnly) ++r.wrong;
    if (frames == 512) {
      ++r.spectra;
      const auto loudest = std::max_element(left, left + 256) - left;
      const bool tone = loudest == kToneBand && left[kToneBand] - right[kToneBand] >= 8;
      if (toneOnly && !tone) ++r.wrong;
    } else if (frames != 0) {
      ++r.wrong;
    }
    if (engineGetWaveform(left, right) == 256) {
      ++r.waveforms;
      const int32_t peak = *std::max_element(left, left + 256);
      const bool fullTone = peak == 75;  // 24576 / 32767 of full scale
      const int64_t now = outputGetPosition();
      if (!fullTone && now >= 512 && now < toneMayEnd) ++r.wrong;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return r;
}

class AnalyserPlayTest : public PlaybackTest {};

TEST_F(AnalyserPlayTest, ReadersOnAnotherThreadSeeTheToneThatPlays) {
  device_.setClock(VirtualClock::Timed, 4.0);
  open(write("tone.wav", toneWave(4)));
  engineSetAnalyserMode(0);
  ASSERT_EQ(enginePlay(), 1);
  Readings r;
  std::thread reader([&r] { r = readWhilePlaying(4); });
  reader.join();
  EXPECT_GT(r.spectra, 20);
  EXPECT_GT(r.waveforms, 20);
  EXPECT_EQ(r.wrong, 0);
  engineSetAnalyserMode(1);
}

TEST_F(AnalyserPlayTest, ReadersFollowThePlatformsDevice) {
  outputUseDevice(nullptr);
  open(write("tone.wav", toneWave(2)));
  if (enginePlay() != 1) GTEST_SKIP() << "no wave output device on this machine";
  const Readings r = readWhilePlaying(2);
#ifdef _WIN32
  // winmm plays in real time, under Wine too: two seconds of readings.
  EXPECT_GT(r.spectra, 20);
  EXPECT_GT(r.waveforms, 20);
#endif
  // ALSA's null plugin takes the clip as fast as it is written, so there
  // may be no reading at all; any there is must be right.
  EXPECT_EQ(r.wrong, 0);
}

}  // namespace
}  // namespace orva::test

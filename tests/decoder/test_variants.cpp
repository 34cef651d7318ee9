// The output variants agree where they must: 8-bit is the 16-bit output's
// high byte, the single-channel modes are the halves or the average of the
// stereo output, a mono stream is the same in every channel mode, and the
// equalizer at 0 dB is no equalizer. Uses the small clips in data/ (made
// here with sox and lame: a 0.7 s joint-stereo 96 kbit/s 44.1 kHz clip with
// a noise burst for short blocks, a 0.6 s mono 32 kbit/s 22.05 kHz clip;
// with sox and twolame: a 0.6 s joint-stereo 160 kbit/s 44.1 kHz Layer II
// clip, a 0.4 s mono 64 kbit/s 48 kHz one).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "tests/decoder/decode_util.h"
#include "tests/support/test_support.h"

namespace orva::test {
namespace {

std::vector<uint8_t> fixture(const char* name) {
  return readFileBytes(joinPath(joinPath(sourceDir(), "tests/decoder/data"), name));
}

DecodedStream decodeWith(const std::vector<uint8_t>& clip, int32_t shift, int32_t flags, const int32_t* eq = nullptr) {
  DecodeSettings s;
  s.options = DecoderOptions{shift, flags, 24000};
  s.equalizer = eq;
  DecodedStream d;
  EXPECT_TRUE(decodeStream(clip, s, d));
  return d;
}

std::vector<int16_t> s16(const DecodedStream& d) {
  std::vector<int16_t> v(d.pcm.size() / 2);
  std::memcpy(v.data(), d.pcm.data(), v.size() * 2);
  return v;
}

TEST(DecoderVariants, EightBitIsTheHighByteOfSixteenBit) {
  for (const char* name : {"stereo_joint_44k.mp3", "stereo_joint_44k.mp2"}) {
    SCOPED_TRACE(name);
    const auto clip = fixture(name);
    ASSERT_FALSE(clip.empty());
    for (int32_t shift = 0; shift < 3; ++shift) {
      for (int32_t mode = 0; mode < 4; ++mode) {
        SCOPED_TRACE(testing::Message() << "shift " << shift << " mode " << mode);
        const auto wide = s16(decodeWith(clip, shift, mode));
        const DecodedStream narrow = decodeWith(clip, shift, mode | 8);
        ASSERT_EQ(narrow.bits, 8);
        ASSERT_EQ(narrow.pcm.size(), wide.size());
        size_t mismatches = 0;
        for (size_t i = 0; i < wide.size(); ++i) {
          mismatches += narrow.pcm[i] != static_cast<uint8_t>(((wide[i] >> 8) & 0xFF) ^ 0x80);
        }
        EXPECT_EQ(mismatches, 0u);
      }
    }
  }
}

TEST(DecoderVariants, SingleChannelModesAreHalvesAndAverageOfStereo) {
  for (const char* name : {"stereo_joint_44k.mp3", "stereo_joint_44k.mp2"}) {
    SCOPED_TRACE(name);
    const auto clip = fixture(name);
    for (int32_t shift = 0; shift < 3; ++shift) {
      SCOPED_TRACE(shift);
      const DecodedStream st = decodeWith(clip, shift, 0);
      ASSERT_EQ(st.channels, 2);
      EXPECT_EQ(st.sampleRate, 44100 >> shift);
      const auto stereo = s16(st);
      const auto left = s16(decodeWith(clip, shift, 2));
      const auto right = s16(decodeWith(clip, shift, 3));
      const auto mix = s16(decodeWith(clip, shift, 1));
      ASSERT_EQ(left.size() * 2, stereo.size());
      ASSERT_EQ(mix.size(), left.size());
      EXPECT_EQ(stereo.size() / 2, st.frames * static_cast<size_t>(1152 >> shift));
      size_t halves = 0, averages = 0, loud = 0;
      for (size_t i = 0; i < left.size(); ++i) {
        halves += left[i] != stereo[2 * i] || right[i] != stereo[2 * i + 1];
        const int avg = (stereo[2 * i] + stereo[2 * i + 1]) / 2;
        averages += std::abs(mix[i] - avg) > 1;
        loud += std::abs(avg) > 100;
      }
      EXPECT_EQ(halves, 0u);
      EXPECT_EQ(averages, 0u);
      EXPECT_GT(loud, left.size() / 4);
    }
  }
}

TEST(DecoderVariants, MonoStreamIsTheSameInEveryChannelMode) {
  for (const auto& [name, samples] : {std::pair{"mono_22k.mp3", 576}, std::pair{"mono_48k.mp2", 1152}}) {
    SCOPED_TRACE(name);
    const auto clip = fixture(name);
    ASSERT_FALSE(clip.empty());
    for (int32_t shift = 0; shift < 3; ++shift) {
      const DecodedStream base = decodeWith(clip, shift, 0);
      EXPECT_EQ(base.channels, 1);
      EXPECT_GT(base.frames, 10);
      EXPECT_EQ(base.pcm.size(), base.frames * static_cast<size_t>((samples >> shift) * 2));
      for (int32_t mode = 1; mode < 4; ++mode) {
        EXPECT_EQ(decodeWith(clip, shift, mode).pcm, base.pcm) << "shift " << shift << " mode " << mode;
      }
    }
  }
}

TEST(DecoderVariants, EqualizerAtZeroIsNoEqualizerAndActsOnlyAtFullRate) {
  const auto clip = fixture("stereo_joint_44k.mp3");
  const int32_t flat[10] = {};
  const int32_t cut[10] = {-200, -200, -200, -200, -200, -200, -200, -200, -200, -200};
  EXPECT_EQ(decodeWith(clip, 0, 0, flat).pcm, decodeWith(clip, 0, 0).pcm);
  EXPECT_EQ(decodeWith(clip, 1, 0, cut).pcm, decodeWith(clip, 1, 0).pcm);
  EXPECT_EQ(decodeWith(clip, 2, 2, cut).pcm, decodeWith(clip, 2, 2).pcm);

  // -20 dB everywhere scales the output by 0.1 (truncation leaves 1 LSB).
  const auto plain = s16(decodeWith(clip, 0, 0));
  const auto quiet = s16(decodeWith(clip, 0, 0, cut));
  ASSERT_EQ(plain.size(), quiet.size());
  size_t off = 0;
  for (size_t i = 0; i < plain.size(); ++i) off += std::abs(quiet[i] - plain[i] / 10.0) > 1.2;
  EXPECT_EQ(off, 0u);
}

}  // namespace
}  // namespace orva::test

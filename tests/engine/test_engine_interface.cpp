// Settings, decoder options and the time-scale rule, tags and genre names,
// status texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/status_register.h"
#include "engine/status_text.h"
#include "tests/engine/engine_test.h"

namespace orva::test {
namespace {

using EngineInterface = EngineTest;

TEST_F(EngineInterface, SettingsAreValidatedAndKept) {
  DecoderSettings s{};
  ASSERT_EQ(engineGetSettings(&s), &s);
  EXPECT_EQ(s.inputBlock, 30);
  EXPECT_EQ(s.outputBlock, 20);
  EXPECT_EQ(s.inputSleep, 5);
  EXPECT_EQ(s.outputSleep, 0);

  const DecoderSettings zeroSleeps{10, 4, 0, 0};
  EXPECT_EQ(engineSetSettings(&zeroSleeps), 1);
  const DecoderSettings bad[] = {{0, 4, 0, 0}, {10, 0, 0, 0}, {10, 4, -1, 0}, {10, 4, 0, -1}};
  for (const DecoderSettings& b : bad) {
    setStatus(0);
    EXPECT_EQ(engineSetSettings(&b), 0);
    EXPECT_EQ(engineGetStatus(), ENGINE_ERR_ARGUMENT);
  }
  EXPECT_EQ(engineSetSettings(nullptr), 0);
  ASSERT_EQ(engineGetSettings(&s), &s);
  EXPECT_EQ(s.inputBlock, 10);
  EXPECT_EQ(s.outputBlock, 4);
  EXPECT_EQ(engineGetSettings(nullptr), nullptr);
  const DecoderSettings defaults{30, 20, 5, 0};
  engineSetSettings(&defaults);
}

TEST_F(EngineInterface, DecoderOptionsAreValidatedAndSetTheTimeScale) {
  StreamInfo info{};
  ASSERT_EQ(openBytes(l3Frames(10), info), 1);
  EXPECT_EQ(gEngine.timeScale, 1.0);

  const DecoderOptions half{1, 0, 24000};
  ASSERT_EQ(engineSetDecoderOptions(&half), 1);
  EXPECT_EQ(gEngine.timeScale, 2.0);
  const DecoderOptions quarter{2, 1, 8000};
  ASSERT_EQ(engineSetDecoderOptions(&quarter), 1);
  EXPECT_EQ(gEngine.timeScale, 4.0);
  DecoderOptions got{};
  ASSERT_EQ(engineGetDecoderOptions(&got), 1);
  EXPECT_EQ(got.downsampleShift, 2);
  EXPECT_EQ(got.outputFlags, 1);
  EXPECT_EQ(got.bandwidthLimitHz, 8000);

  const DecoderOptions bad[] = {{3, 0, 1}, {-1, 0, 1}, {0, 2, 1}, {0, 8, 1}, {0, 0, 0}};
  for (const DecoderOptions& b : bad) {
    setStatus(0);
    EXPECT_EQ(engineSetDecoderOptions(&b), 0);
    EXPECT_EQ(engineGetStatus(), ENGINE_ERR_ARGUMENT);
  }
  EXPECT_EQ(engineSetDecoderOptions(nullptr), 0);
  EXPECT_EQ(engineGetDecoderOptions(nullptr), 0);

  // Opened at quarter rate: the time scale now counts from there.
  ASSERT_EQ(openBytes(l3Frames(10), info, "again.mp3"), 1);
  EXPECT_EQ(info.sampleRate, 11025);
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(gEngine.timeScale, 1.0);
  const DecoderOptions full{0, 0, 24000};
  ASSERT_EQ(engineSetDecoderOptions(&full), 1);
  EXPECT_EQ(gEngine.timeScale, 0.25);
}

TEST_F(EngineInterface, TagOfTheOpenFile) {
  Id3v1Record tag{};
  setStatus(0);
  EXPECT_EQ(engineGetTag(&tag), 0);
  EXPECT_EQ(engineGetStatus(), ENGINE_ERR_NOT_OPEN);

  Bytes bytes = l3Frames(5);
  append(bytes, id3v1Tag("Hello" + std::string(25, ' '), "World   ", 52));
  StreamInfo info{};
  ASSERT_EQ(openBytes(bytes, info), 1);
  std::memset(&tag, 0x7A, sizeof tag);
  ASSERT_EQ(engineGetTag(&tag), 1);
  EXPECT_STREQ(tag.title, "Hello");
  EXPECT_STREQ(tag.artist, "World   ");  // NUL-padded: only blanks at byte 29 are trimmed
  EXPECT_STREQ(tag.album, "");
  EXPECT_STREQ(tag.year, "1999");
  EXPECT_EQ(tag.genre, 52);
  EXPECT_STREQ(tag.genreName, "Electronic");
  EXPECT_EQ(tag.genreName[127], '\0');
}

TEST_F(EngineInterface, GenreNames) {
  const std::pair<int32_t, const char*> names[] = {{0, "Blues"}, {147, "Synthpop"}, {148, ""},
                                                   {250, ""},    {251, "Seiyu(J)"}, {255, "Anime(J)"}};
  for (const auto& [genre, name] : names) {
    Id3v1Record tag{};
    std::memset(&tag, 0x7A, sizeof tag);
    tag.genre = genre;
    ASSERT_EQ(engineGetGenreName(&tag), 1);
    EXPECT_STREQ(tag.genreName, name);
    EXPECT_STREQ(tag.title, "");
  }
  for (int32_t genre : {-1, 256, 300}) {
    Id3v1Record tag{};
    std::memset(&tag, 0x7A, sizeof tag);
    tag.genre = genre;
    setStatus(0);
    EXPECT_EQ(engineGetGenreName(&tag), 0);
    EXPECT_EQ(engineGetStatus(), ENGINE_ERR_ARGUMENT);
    EXPECT_EQ(tag.genre, genre);
    EXPECT_STREQ(tag.genreName, "");
  }
}

TEST(StatusText, EveryCodeHasItsOwnSentence) {
  const std::string unknown = statusText(999);
  for (int32_t code = 0; code <= 33; ++code) {
    const std::string text = statusText(code);
    if (code == 22) {
      EXPECT_EQ(text, unknown);
      continue;
    }
    EXPECT_NE(text, unknown) << code;
    EXPECT_EQ(text.back(), '.') << code;
  }
}

}  // namespace
}  // namespace orva::test

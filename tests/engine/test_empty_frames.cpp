// engineCountLeadingEmptyFrames over self-made streams.
#include <gtest/gtest.h>

#include "engine/status_register.h"
#include "tests/engine/engine_test.h"

namespace orva::test {
namespace {

using EmptyFrames = EngineTest;

TEST_F(EmptyFrames, CountsFramesOfPaddingBeforeTheFirstWithContent) {
  Bytes bytes = l3Frames(3, 0xFF);
  append(bytes, l3Frames(4));
  EXPECT_EQ(engineCountLeadingEmptyFrames(write("a.mp3", bytes).c_str()), 3);
  EXPECT_EQ(engineGetDetailCode(), 0);
  EXPECT_EQ(engineCountLeadingEmptyFrames(write("b.mp3", l3Frames(2)).c_str()), 0);
}

TEST_F(EmptyFrames, VbrHeaderFrameCountsButIsNotContent) {
  Bytes bytes = l3XingFrame(100, 41700);
  append(bytes, l3Frames(2, 0xFF));
  append(bytes, l3Frames(2));
  EXPECT_EQ(engineCountLeadingEmptyFrames(write("x.mp3", bytes).c_str()), 3);
  EXPECT_EQ(engineGetDetailCode(), kL3FrameSize);
}

TEST_F(EmptyFrames, StartsAfterId3v2AndTheLeadingZeroBlock) {
  Bytes tagged = id3v2Tag(300);
  append(tagged, l3Frames(2, 0xFF));
  append(tagged, l3Frames(1));
  EXPECT_EQ(engineCountLeadingEmptyFrames(write("t.mp3", tagged).c_str()), 2);
  Bytes zero(128, 0xFF);
  zero[0] = 0;
  append(zero, l3Frames(1, 0xFF));
  append(zero, l3Frames(1));
  EXPECT_EQ(engineCountLeadingEmptyFrames(write("z.mp3", zero).c_str()), 1);
}

TEST_F(EmptyFrames, AStreamOfOnlyEmptyFramesCountsThemAll) {
  Bytes bytes = l3Frames(5, 0xFF);
  append(bytes, id3v1Tag("t", "a", 1));
  EXPECT_EQ(engineCountLeadingEmptyFrames(write("e.mp3", bytes).c_str()), 5);
}

TEST_F(EmptyFrames, FailuresGiveMinusOneAndTheirStatus) {
  const std::pair<std::string, int32_t> cases[] = {
      {"", ENGINE_ERR_OPEN},
      {dir_.file("missing.mp3"), ENGINE_ERR_OPEN},
      {write("empty.mp3", {}), ENGINE_ERR_READ},
      {write("garbage.mp3", Bytes(5000, 0x41)), ENGINE_ERR_NO_SYNC},
      {write("bad.mp3", frame({0xFF, 0xFB, 0xF0, 0x00}, 500)), ENGINE_ERR_BAD_HEADER},
      {write("riff.wav", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}), ENGINE_ERR_RIFF_WALK},
  };
  for (const auto& [path, status] : cases) {
    SCOPED_TRACE(path);
    setStatus(0);
    EXPECT_EQ(engineCountLeadingEmptyFrames(path.c_str()), -1);
    EXPECT_EQ(engineGetStatus(), status);
  }
}

}  // namespace
}  // namespace orva::test

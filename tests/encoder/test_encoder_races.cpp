// The host's thread against the worker: progress read while it writes,
// aborts at every moment of a conversion, starts refused while it ends.
// Meant for the ThreadSanitizer tree as much as for the plain one.
#include <gtest/gtest.h>

#include <thread>

#include "tests/encoder/encoder_fixtures.h"
#include "tests/support/test_support.h"

namespace orva::test {
namespace {

TEST(EncoderRaces, ProgressAndAbortAtAnyMomentEndInAWholeStream) {
  engineInit();
  TempDir dir;
  const PcmShape shape{2, 22050, 16};
  const std::string source = dir.file("in.wav"), destination = dir.file("out.mp3");
  writeFileBytes(source, waveFile(shape, pcmBytes(chirpSamples(shape, shape.rate * 3), 16)));
  int32_t lastRead = 0;
  for (int round = 0; round < 12; ++round) {
    EncoderSourceInfo info{};
    ASSERT_EQ(encoderOpenSource(source.c_str(), &info), 1);
    ASSERT_EQ(encoderStart(destination.c_str()), 1);
    // Abort after a growing number of progress reads; the last rounds let
    // the conversion end by itself first.
    bool aborted = false;
    for (int poll = 0; encoderGetProgress(&lastRead, nullptr) != 0; ++poll) {
      EXPECT_LE(lastRead, info.dataSize);
      if (poll == round * round && !aborted) aborted = encoderAbort() == 1;
      EXPECT_EQ(encoderStart(destination.c_str()), 0);
      std::this_thread::yield();
    }
    const int32_t result = encoderGetResult();
    EXPECT_TRUE(result == ENCODER_RESULT_ABORTED || result == ENCODER_RESULT_FINISHED) << round;
    if (!aborted) {
      EXPECT_EQ(result, ENCODER_RESULT_FINISHED) << round;
    }
    const auto stream = readFileBytes(destination);
    ASSERT_FALSE(stream.empty()) << round;
    EXPECT_EQ(stream[0], 0xFF) << round;
    EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"in.wav", "out.mp3"})) << round;
  }
  engineShutdown();
}

}  // namespace
}  // namespace orva::test

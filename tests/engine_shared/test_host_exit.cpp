// A host may leave main while the engine plays, without engineShutdown:
// the process must end normally (no std::terminate from a joinable thread,
// no crash from a thread running on destroyed records) and promptly.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/engine_shared/child_process.h"

namespace orva::test {
namespace {

constexpr int kBoundMs = 30000;

ChildResult runHost(const char* device, const char* action) {
  const std::string demo = std::string(ORVA_SOURCE_DIR) + "/samples/orva-theme.mp3";
  return runChild({ORVA_EXIT_HOST, ORVA_ENGINE_LIBRARY, demo, device, action}, kBoundMs);
}

void expectCleanExit(const ChildResult& r) {
  ASSERT_TRUE(r.started) << ORVA_EXIT_HOST;
  ASSERT_TRUE(r.finished) << "the host did not end within the bound:\n" << r.output;
  EXPECT_FALSE(r.crashed) << r.output;
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output.find("leaving main"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("terminate"), std::string::npos) << r.output;
}

TEST(HostExitTest, LeavesMainWhilePlayingOnTheSilentDevice) { expectCleanExit(runHost("silent", "play")); }

TEST(HostExitTest, LeavesMainWhilePaused) { expectCleanExit(runHost("silent", "pause")); }

TEST(HostExitTest, LeavesMainAfterTheTrackEndedByItself) { expectCleanExit(runHost("silent", "end")); }

TEST(HostExitTest, LeavesMainWhilePlayingOnTheSystemDevice) {
  const ChildResult r = runHost("system", "play");
  if (r.finished && r.exitCode == 20) GTEST_SKIP() << "no wave output device on this machine";
  expectCleanExit(r);
}

}  // namespace
}  // namespace orva::test

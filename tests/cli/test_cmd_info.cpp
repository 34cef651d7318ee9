// orva-cli info: what it prints and the exit status it returns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/commands.h"
#include "engine/engine_testing.h"
#include "tests/engine/engine_fixtures.h"
#include "tests/support/test_support.h"

namespace orva::test {
namespace {

struct CliRun {
  int status;
  std::string out;
};

CliRun runInfo(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  setEngineSleepsForTesting(false);
  ::testing::internal::CaptureStdout();
  ::testing::internal::CaptureStderr();
  const int status = cli::runInfoCommand(static_cast<int>(argv.size()), argv.data());
  CliRun run{status, ::testing::internal::GetCapturedStdout()};
  ::testing::internal::GetCapturedStderr();
  return run;
}

TEST(CliInfo, NoFileIsAUsageError) { EXPECT_EQ(runInfo({}).status, 2); }

TEST(CliInfo, ShowsStreamHeaderAndTag) {
  TempDir dir;
  Bytes bytes = l3Frames(100);
  append(bytes, id3v1Tag("Song", "Band", 17));
  const std::string path = dir.file("song.mp3");
  ASSERT_TRUE(writeFileBytes(path, bytes));
  const CliRun run = runInfo({path});
  EXPECT_EQ(run.status, 0);
  for (const char* expected :
       {"title        Song", "sample rate  44100 Hz", "MPEG-1 Layer 3", "frames       100", "ID3v1 genre  17 Rock"}) {
    EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\n" << run.out;
  }
}

TEST(CliInfo, AFailedFileGivesItsStatusAndANonZeroExit) {
  TempDir dir;
  const std::string good = dir.file("good.mp3");
  ASSERT_TRUE(writeFileBytes(good, l3Frames(3)));
  const CliRun run = runInfo({good, dir.file("missing.mp3")});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("status 1: The path is empty, or the file cannot be opened"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace orva::test

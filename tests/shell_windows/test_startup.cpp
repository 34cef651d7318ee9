// Start-up and shutdown of the player: the first placement, the start-up
// list, and what is written at exit.
#include <gtest/gtest.h>

#include "orva_engine.h"
#include "tests/shell_windows/player_fixture.h"

namespace orva::test {
namespace {

using StartupTest = PlayerTest;

TEST_F(StartupTest, AFileOnTheCommandLineIsAddedAndPlays) {
  const std::string song = writeWave("song.wav", 3);
  startPlayer("\"" + song + "\"");
  ASSERT_EQ(shell().playlist.count(), 1);
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
  EXPECT_EQ(shell().continueFlag, 1);
  EXPECT_EQ(titleText(), "00:00 song.wav [00:03]");
}

}  // namespace
}  // namespace orva::test

// What the player keeps between runs: the settings file and the default
// list, read at start-up and written at exit, and never lost on the way.
#include <gtest/gtest.h>

#include <string>

#include "orva_engine.h"
#include "platform/file.h"
#include "platform/profile_file.h"
#include "resources/resource_ids.h"
#include "tests/playlist/playlist_fixtures.h"
#include "tests/shell_windows/player_fixture.h"

namespace orva::test {
namespace {

class ExitTest : public PlayerTest {
 protected:
  void TearDown() override {
    platform::disarmFileFaultsForTests();
    PlayerTest::TearDown();
  }
  std::string settingsFile() { return file("orva.ini"); }
  std::string listFile() { return file("orva.m3u"); }
  int32_t setting(const char* section, const char* key) {
    platform::ProfileFile ini;
    EXPECT_TRUE(ini.load(settingsFile().c_str()));
    return ini.getInt(section, key, -12345);
  }
};

TEST_F(ExitTest, WithoutASettingsFileNothingIsWrittenAtExit) {
  writeWave("a.wav", 1);
  startPlayer(file("a.wav"));
  closePlayer();
  EXPECT_FALSE(platform::fileExists(settingsFile().c_str()));
  EXPECT_FALSE(platform::fileExists(listFile().c_str()));
}

TEST_F(ExitTest, SavingTurnedOnWritesTheSettingsAndTheListForTheNextStart) {
  for (const char* name : {"a.wav", "b.wav", "c.wav"}) writeWave(name, 2);
  startPlayer(file("a.wav") + " " + file("b.wav") + " " + file("c.wav"));
  command(IDM_SAVE_SETTINGS);
  command(IDM_NEXT);
  command(IDC_MODE);
  command(IDC_LIST_TOGGLE);
  command(IDC_LYRICS_TOGGLE);
  command(IDM_ALWAYS_ON_TOP);
  SetWindowPos(mainWindow(), nullptr, 40, 50, 320, 180, SWP_NOZORDER);
  closePlayer();

  EXPECT_EQ(setting("Player", "NowIndex"), 1);
  EXPECT_EQ(setting("Option", "PlayMode"), 1);
  EXPECT_EQ(setting("Lyrics", "Visible"), 1);
  EXPECT_EQ(setting("Equalizer", "Visible"), 0);
  EXPECT_EQ(setting("Option", "ShowTop"), 1);
  EXPECT_EQ(setting("Option", "Kuttuki"), 0);
  EXPECT_EQ(setting("Window", "Left"), 40);
  EXPECT_EQ(setting("Window", "Top"), 50);
  EXPECT_EQ(setting("Window", "Width"), 320);
  EXPECT_EQ(setting("Window", "Height"), 180);
  EXPECT_EQ(setting("Window", "LastHight"), 180);
  EXPECT_EQ(setting("Decoder", "Version"), engineGetVersion());
  EXPECT_EQ(setting("Decoder", "inputBlock"), 6);
  const std::string list = readText(listFile());
  EXPECT_EQ(list.rfind("#EXTM3U\r\n#EXTINF:2,a.wav\r\n", 0), 0u) << list;

  // The next start without arguments: the list is back, entry 1 selected
  // and nothing playing, the window where it was.
  TearDown();
  startPlayer();
  EXPECT_EQ(shell().playlist.count(), 3);
  EXPECT_EQ(shell().playlist.currentIndex, 1);
  EXPECT_GT(SendMessageA(shell().playlistBox, LB_GETSEL, 1, 0), 0);
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);
  EXPECT_EQ(shell().playMode, 1);
  EXPECT_TRUE(IsWindowVisible(shell().lyricsWindow));
  EXPECT_NE(GetWindowLongA(mainWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0) << "always on top again";
  EXPECT_NE(GetWindowLongA(shell().lyricsWindow, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  RECT r{};
  GetWindowRect(mainWindow(), &r);
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.right - r.left, 320);
  EXPECT_EQ(r.bottom - r.top, 180);
}

TEST_F(ExitTest, ArgumentsReplaceTheDefaultListAndNowIndexIsNotRead) {
  writeWave("a.wav", 2);
  writeWave("b.wav", 2);
  writeText(settingsFile(), "[Player]\r\nNowIndex=5\r\n[Decoder]\r\n");
  writeText(listFile(), file("a.wav") + "\r\n" + file("a.wav") + "\r\n");
  startPlayer(file("b.wav"));
  EXPECT_EQ(shell().playlist.count(), 1);
  EXPECT_EQ(displayText(0), "b.wav");
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
  EXPECT_EQ(shell().playlist.currentIndex, 0);
  DecoderSettings settings{};
  engineGetSettings(&settings);
  EXPECT_EQ(settings.inputBlock, 30) << "a file without the key takes the file's default";
  EXPECT_EQ(settings.outputBlock, 20);
}

TEST_F(ExitTest, SavingTurnedOffDeletesTheSettingsFile) {
  writeText(settingsFile(), "[Option]\r\n");
  startPlayer();
  EXPECT_EQ(shell().saveSettingsEnabled, 1);
  command(IDM_SAVE_SETTINGS);
  closePlayer();
  EXPECT_FALSE(platform::fileExists(settingsFile().c_str()));
}

TEST_F(ExitTest, AnEmptyListLeavesTheOldDefaultListAlone) {
  writeText(settingsFile(), "[Option]\r\n");
  writeText(listFile(), "missing.wav\r\n");
  startPlayer();
  EXPECT_EQ(shell().playlist.count(), 0);
  closePlayer();
  EXPECT_EQ(readText(listFile()), "missing.wav\r\n");
}

TEST_F(ExitTest, AnExitOnAFullDiskKeepsTheOldFiles) {
  writeWave("a.wav", 2);
  const std::string oldSettings = "[Option]\r\nPlayMode=2\r\n";
  const std::string oldList = file("a.wav") + "\r\n";
  writeText(settingsFile(), oldSettings);
  writeText(listFile(), oldList);
  startPlayer();
  ASSERT_EQ(shell().playlist.count(), 1);
  command(IDC_MODE);
  platform::FileFaultPlan plan;
  plan.diskFullAfter = 10;
  platform::armFileFaultsForTests(plan);
  closePlayer();
  platform::disarmFileFaultsForTests();
  EXPECT_EQ(readText(settingsFile()), oldSettings);
  EXPECT_EQ(readText(listFile()), oldList);
}

}  // namespace
}  // namespace orva::test

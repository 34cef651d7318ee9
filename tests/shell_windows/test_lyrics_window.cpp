// The lyrics window follows the play position: three lines around it, the
// middle one current, from the text file beside the track.
#include <gtest/gtest.h>

#include <string>

#include "orva_engine.h"
#include "resources/resource_ids.h"
#include "tests/playlist/playlist_fixtures.h"
#include "tests/shell_windows/player_fixture.h"

namespace orva::test {
namespace {

class LyricsWindowTest : public PlayerTest {
 protected:
  std::string line(int index) {
    HWND child = GetWindow(shell().lyricsWindow, GW_CHILD);
    for (int i = 0; i < index && child != nullptr; ++i) child = GetWindow(child, GW_HWNDNEXT);
    char text[260] = {};
    if (child != nullptr) GetWindowTextA(child, text, sizeof text);
    return text;
  }
  void fastTick() { SendMessageA(mainWindow(), WM_TIMER, IDT_FAST_TICK, 0); }
};

TEST_F(LyricsWindowTest, ThreeLinesFollowThePlayPosition) {
  writeWave("song.wav", 4);
  writeText(file("song.txt"),
            "[00:00]テーマ一行目\r\n[00:01]二行目 [00:01.5]続き\r\n[00:02]三行目\r\n[00:03]四行目\r\n");
  startPlayer(file("song.wav"));
  ASSERT_EQ(shell().lyricsLoaded, 1);
  fastTick();
  EXPECT_EQ(line(0), "");
  EXPECT_EQ(line(1), "テーマ一行目") << "the trail byte of ー is no '['";
  EXPECT_EQ(line(2), "二行目 続き") << "later stamps on a line are not shown";
  ASSERT_TRUE(pumpUntil(
      [&] {
        fastTick();
        return line(1) == "三行目";
      },
      5000));
  EXPECT_EQ(line(0), "二行目 続き");
  EXPECT_EQ(line(2), "四行目");
}

TEST_F(LyricsWindowTest, ATrackWithoutLyricsEmptiesTheLines) {
  writeWave("song.wav", 2);
  writeWave("plain.wav", 2);
  writeText(file("song.txt"), "[00:00]一行目\r\n[00:01]二行目\r\n");
  startPlayer(file("song.wav") + " " + file("plain.wav"));
  fastTick();
  ASSERT_EQ(line(1), "一行目");
  command(IDM_NEXT);
  EXPECT_EQ(shell().lyricsLoaded, 0);
  fastTick();
  EXPECT_EQ(line(0), "");
  EXPECT_EQ(line(1), "");
  EXPECT_EQ(line(2), "");
}

TEST_F(LyricsWindowTest, CloseOnlyHidesAndTheToggleShowsItDocked) {
  startPlayer();
  SendMessageA(shell().lyricsWindow, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(shell().lyricsWindow));
  command(IDC_LYRICS_TOGGLE);
  EXPECT_TRUE(IsWindowVisible(shell().lyricsWindow));
  RECT main{};
  RECT lyrics{};
  GetWindowRect(mainWindow(), &main);
  GetWindowRect(shell().lyricsWindow, &lyrics);
  EXPECT_EQ(lyrics.top, main.bottom);
  EXPECT_EQ(lyrics.bottom - lyrics.top, 110);
  RECT client{};
  GetClientRect(shell().lyricsWindow, &client);
  RECT middle{};
  GetWindowRect(GetWindow(GetWindow(shell().lyricsWindow, GW_CHILD), GW_HWNDNEXT), &middle);
  EXPECT_EQ(middle.right - middle.left, client.right - 20) << "the lines span the window";
}

}  // namespace
}  // namespace orva::test

// Play list lines in Windows' root-relative ("\music\a.mp3") and
// drive-relative ("C:a.mp3") forms, read from a list on C: while the
// process's current directory is on another drive (Z: under Wine).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "playlist/playlist_file.h"
#include "tests/playlist/playlist_fixtures.h"

namespace orva {
namespace {

// Puts the current directory back however the test ends.
struct CurrentDirectoryGuard {
  CurrentDirectoryGuard() { GetCurrentDirectoryA(sizeof saved, saved); }
  ~CurrentDirectoryGuard() { SetCurrentDirectoryA(saved); }
  char saved[MAX_PATH] = {};
};

TEST(M3uDrivePaths, RootAndDriveRelativeLinesResolveAsWithTheListsFolderCurrent) {
  test::TempDir dir;
  if (dir.path().size() < 3 || dir.path()[1] != ':' || (dir.path()[0] | 0x20) == 'z') {
    GTEST_SKIP() << "the temporary folder is not on a drive of its own: " << dir.path();
  }
  CurrentDirectoryGuard guard;
  ASSERT_TRUE(SetCurrentDirectoryA("Z:\\tmp"));

  ASSERT_TRUE(test::makeDirectory(dir.file("music")));
  ASSERT_TRUE(test::makeDirectory(dir.file("lists")));
  test::writeAudio(dir.file("music\\a.mp3"), "A", "X", 1);
  test::writeAudio(dir.file("music\\b.mp3"), "B", "X", 2);
  const std::string drive = dir.path().substr(0, 2);
  const std::string rooted = dir.path().substr(2) + "\\music\\a.mp3";
  test::writeText(dir.file("lists\\x.m3u"), rooted + "\r\n" + drive + "..\\music\\b.mp3\r\n");

  Playlist list;
  list.readFileInfo = test::fakeReadFileInfo;
  EXPECT_EQ(loadPlaylist(list, dir.file("lists\\x.m3u").c_str()), 0);
  EXPECT_EQ(test::displayTexts(list), (std::vector<std::string>{"X - A", "X - B"}));

  std::string text;
  renderPlaylist(list, false, text);
  EXPECT_EQ(text, dir.file("music\\a.mp3") + "\r\n" + dir.file("music\\b.mp3") + "\r\n");
}

}  // namespace
}  // namespace orva

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/path.h"
#include "platform/shell_link.h"
#include "playlist/add_files.h"
#include "tests/playlist/playlist_fixtures.h"

namespace orva {
namespace {

class AddFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { list.readFileInfo = test::fakeReadFileInfo; }

  std::string makeDir(const std::string& name) {
    std::string path = dir.file(name);
    std::filesystem::create_directories(path);
    return path;
  }

  std::vector<std::string> sortedNames() const {
    std::vector<std::string> names;
    for (int32_t i = 0; i < list.count(); ++i) names.emplace_back(fileNamePart(list.entry(i)->path));
    std::sort(names.begin(), names.end());
    return names;
  }

  test::TempDir dir;
  Playlist list;
};

TEST_F(AddFilesTest, FolderScanTakesNamesByTheirLastThreeCharacters) {
  std::string music = makeDir("music");
  for (const char* name : {"song.MP3", "x.Wav", "demomp3", "a.mp3x", "notes.txt", ".hidden.mp2"}) {
    test::writeAudio(test::joinPath(music, name), name, "A", 1);
  }
  EXPECT_EQ(addFolder(list, music.c_str(), 0), 0);
  EXPECT_EQ(sortedNames(), (std::vector<std::string>{".hidden.mp2", "demomp3", "song.MP3", "x.Wav"}));
}

TEST_F(AddFilesTest, SubfoldersOnlyWhenAskedAndNeverDotFolders) {
  std::string top = makeDir("top");
  test::writeAudio(test::joinPath(top, "a.mp3"), "a", "", 1);
  test::writeAudio(test::joinPath(makeDir("top/deep"), "b.mp3"), "b", "", 1);
  test::writeAudio(test::joinPath(makeDir("top/.skip"), "c.mp3"), "c", "", 1);

  list.recurseSubfolders = 0;
  scanFolder(list, top.c_str(), "*.*");
  EXPECT_EQ(sortedNames(), (std::vector<std::string>{"a.mp3"}));
  list.deleteAll();

  // A trailing separator is taken off; subfolders are searched.
  std::string withSeparator = top + platform::kPathSeparator;
  EXPECT_GE(addFolder(list, withSeparator.c_str(), 1), 0);
  EXPECT_EQ(sortedNames(), (std::vector<std::string>{"a.mp3", "b.mp3"}));
  EXPECT_EQ(addFolder(list, dir.file("absent").c_str(), 1), -1);
}

// A folder whose name ends in 表, ソ or 能 (trail byte 0x5C, the byte of
// "\\"), read from disk with and without a trailing separator. The names are
// cp932 bytes; the test selects that code page on both builds (Linux keeps
// any bytes in a name).
TEST_F(AddFilesTest, FolderNamesEndingInTrailByte5CAreScannedWhole) {
  platform::setActiveCodePage(platform::CodePage::Cp932);
  for (const char* kanji : {"\x95\x5C", "\x83\x5C", "\x94\x5C"}) {
    const std::string folder = dir.path() + platform::kPathSeparator + "\x8B\xC8" + kanji;
    ASSERT_TRUE(test::makeDirectory(folder));
    test::writeAudio(folder + platform::kPathSeparator + "a.mp3", "t", "A", 1);
    for (const std::string& given : {folder, folder + platform::kPathSeparator}) {
      list.deleteAll();
      EXPECT_EQ(addFolder(list, given.c_str(), 0), 0) << "folder " << folder;
      ASSERT_EQ(list.count(), 1);
      EXPECT_STREQ(list.entry(0)->path, (folder + platform::kPathSeparator + "a.mp3").c_str());
    }
  }
  platform::setActiveCodePage(platform::CodePage::System);
}

TEST_F(AddFilesTest, AFileThatIsNotAudioIsReadAsAPlayList) {
  std::string track = dir.file("track.mp3");
  test::writeAudio(track, "T", "A", 5);
  test::writeText(dir.file("fake.mp3"), "#EXTM3U\n" + track + "\nnowhere.mp3\n");
  EXPECT_EQ(addFile(list, dir.file("fake.mp3").c_str()), 0);
  ASSERT_EQ(list.count(), 1);
  EXPECT_STREQ(list.entry(0)->displayText, "A - T");
  EXPECT_STREQ(list.entry(0)->listDirectory, (dir.path() + platform::kPathSeparator).c_str());
  // An entry added directly has no list directory.
  EXPECT_EQ(addFile(list, track.c_str()), 1);
  EXPECT_STREQ(list.entry(1)->listDirectory, "");
}

TEST_F(AddFilesTest, ArgumentStringsAreOneQuotedPathOrSpaceSeparatedPieces) {
  std::string spaced = makeDir("with space");
  std::string file = test::joinPath(spaced, "a b.mp3");
  test::writeAudio(file, "Q", "A", 1);
  test::writeAudio(dir.file("one.mp3"), "1", "A", 1);
  test::writeAudio(dir.file("two.mp3"), "2", "A", 1);

  std::string quoted = "\"" + file + "\"";
  EXPECT_EQ(addArgumentString(list, quoted.data()), 0);
  std::string unquoted = file;
  EXPECT_EQ(addArgumentString(list, unquoted.data()), -1);
  std::string pieces = dir.file("one.mp3") + " " + dir.file("missing.mp3") + "  " + dir.file("two.mp3");
  EXPECT_EQ(addArgumentString(list, pieces.data()), 1);
  EXPECT_EQ(test::displayTexts(list), (std::vector<std::string>{"A - Q", "A - 1", "A - 2"}));
  std::string empty;
  EXPECT_EQ(addArgumentString(list, empty.data()), -1);
}

TEST_F(AddFilesTest, ADirectoryArgumentAddsItsSubfoldersToo) {
  std::string top = makeDir("top");
  test::writeAudio(test::joinPath(makeDir("top/inner"), "x.mp3"), "x", "", 1);
  EXPECT_EQ(addPath(list, top.c_str()), 0);
  EXPECT_EQ(list.recurseSubfolders, 1);
  EXPECT_EQ(list.count(), 1);
}

TEST_F(AddFilesTest, LinkFileWithoutATargetIsAnOrdinaryFile) {
  // Not a shell link: resolution fails on every platform and the file is
  // then tried as a play list.
  test::writeAudio(dir.file("t.mp3"), "T", "A", 1);
  test::writeText(dir.file("x.lnk"), dir.file("t.mp3") + "\n");
  char target[kMaxPath];
  EXPECT_FALSE(resolveShortcut(dir.file("x.lnk").c_str(), target, sizeof target));
  EXPECT_EQ(addPath(list, dir.file("x.lnk").c_str()), 0);
  EXPECT_STREQ(list.entry(0)->displayText, "A - T");
}

TEST_F(AddFilesTest, ShellLinksAddTheirTargetFileOrFolder) {
  std::string track = dir.file("t.mp3");
  test::writeAudio(track, "T", "A", 1);
  std::string folder = makeDir("linked");
  test::writeAudio(test::joinPath(makeDir("linked/inner"), "x.mp3"), "X", "A", 1);
  if (!platform::writeShellLink(dir.file("file.lnk").c_str(), track.c_str())) {
    GTEST_SKIP() << "this platform has no shell links";
  }
  ASSERT_TRUE(platform::writeShellLink(dir.file("folder.lnk").c_str(), folder.c_str()));
  char target[kMaxPath];
  ASSERT_TRUE(resolveShortcut(dir.file("file.lnk").c_str(), target, sizeof target));
  EXPECT_EQ(addPath(list, dir.file("file.lnk").c_str()), 0);
  EXPECT_EQ(addPath(list, dir.file("folder.lnk").c_str()), 1);
  EXPECT_EQ(test::displayTexts(list), (std::vector<std::string>{"A - T", "A - X"}));
  // Too small a buffer for the target: no resolution.
  EXPECT_FALSE(resolveShortcut(dir.file("file.lnk").c_str(), target, 4));
}

}  // namespace
}  // namespace orva

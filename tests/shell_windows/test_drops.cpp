// Files dropped on the main window: where they go in the list, whether one
// starts, and what shortcuts and folders bring with them.
#include <gtest/gtest.h>
#include <objbase.h>
#include <objidl.h>
#include <shlguid.h>
#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "orva_engine.h"
#include "playlist/add_files.h"
#include "tests/engine/engine_fixtures.h"
#include "tests/shell_windows/list_box_probe.h"
#include "tests/shell_windows/player_fixture.h"
#include "tests/support/test_support.h"

namespace orva::test {
namespace {

using Names = std::vector<std::string>;

// A drop as the shell hands it over: a DROPFILES block with the point in
// the main window's client area and a double-NUL list of names.
HDROP makeDrop(POINT at, const std::vector<std::string>& paths) {
  size_t bytes = sizeof(DROPFILES) + 1;
  for (const std::string& p : paths) bytes += p.size() + 1;
  const HGLOBAL memory = GlobalAlloc(GHND, bytes);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = at;
  drop->fNC = FALSE;
  drop->fWide = FALSE;
  char* name = reinterpret_cast<char*>(drop + 1);
  for (const std::string& p : paths) {
    std::memcpy(name, p.c_str(), p.size() + 1);
    name += p.size() + 1;
  }
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

bool writeShortcut(const std::string& linkPath, const std::string& target) {
  const HRESULT init = CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void**>(&link)));
  if (ok) {
    IPersistFile* file = nullptr;
    WCHAR wide[MAX_PATH];
    ok = SUCCEEDED(link->SetPath(target.c_str())) &&
         SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
         MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH) > 0 && SUCCEEDED(file->Save(wide, TRUE));
    if (file != nullptr) file->Release();
    link->Release();
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return ok;
}

class DropTest : public PlayerTest {
 protected:
  void startWithList() {
    startPlayer();
    ASSERT_TRUE(showPlaylist());
  }
  void addWaves(int count) {
    for (int i = 0; i < count; ++i) addFile(shell().playlist, writeWave(std::to_string(i) + ".wav", 1).c_str());
  }
  void dropAt(POINT at, const std::vector<std::string>& paths) {
    SendMessageA(mainWindow(), WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop(at, paths)), 0);
  }
  POINT titleArea() {
    RECT r{};
    GetWindowRect(shell().titleDisplay, &r);
    POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(mainWindow(), &centre);
    return centre;
  }
  std::vector<std::string> sortedNames() {
    std::vector<std::string> names = entryNames();
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(DropTest, FilesDroppedOnARowGoInBeforeItInDropOrderAndNothingStarts) {
  startWithList();
  addWaves(5);
  const std::vector<std::string> dropped = {writeWave("x.wav", 1), writeWave("y.wav", 1), writeWave("z.wav", 1)};
  dropAt(inMainWindow(rowCentre(2)), dropped);
  EXPECT_EQ(entryNames(), (Names{"0.wav", "1.wav", "x.wav", "y.wav", "z.wav", "2.wav", "3.wav", "4.wav"}));
  EXPECT_TRUE(rowsFollowModel());
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);
  EXPECT_EQ(shell().continueFlag, 0);
  EXPECT_EQ(shell().playlist.insertIndex, -1);

  // The next addition appends again.
  addFile(shell().playlist, writeWave("w.wav", 1).c_str());
  EXPECT_EQ(entryNames().back(), "w.wav");
}

TEST_F(DropTest, APlayListDroppedOnARowBringsItsEntriesThereInItsOrder) {
  startWithList();
  addWaves(3);
  writeWave("p.wav", 1);
  writeWave("q.wav", 1);
  const std::string list = file("two.m3u");
  const std::string text = "#EXTM3U\r\n#EXTINF:7,Q Song\r\nq.wav\r\np.wav\r\nmissing.wav\r\n";
  writeFileBytes(list, Bytes(text.begin(), text.end()));
  dropAt(inMainWindow(rowCentre(1)), {list});
  EXPECT_EQ(entryNames(), (Names{"0.wav", "q.wav", "p.wav", "1.wav", "2.wav"}));
  EXPECT_EQ(displayText(1), "Q Song");
  EXPECT_TRUE(rowsFollowModel());
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);
}

TEST_F(DropTest, FilesDroppedOnTheListBelowItsRowsAreAppendedAndNothingStarts) {
  startWithList();
  addWaves(2);
  RECT client{};
  GetClientRect(shell().playlistBox, &client);
  dropAt(inMainWindow(POINT{client.right / 2, client.bottom - 4}), {writeWave("x.wav", 1)});
  EXPECT_EQ(entryNames(), (Names{"0.wav", "1.wav", "x.wav"}));
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);
}

TEST_F(DropTest, FilesDroppedOnTheTitleAreaAreAppendedAndTheFirstStarts) {
  startWithList();
  addWaves(2);
  const std::vector<std::string> dropped = {writeWave("x.wav", 2), writeWave("y.wav", 1), file("missing.wav")};
  dropAt(titleArea(), dropped);
  EXPECT_EQ(entryNames(), (Names{"0.wav", "1.wav", "x.wav", "y.wav"}));
  EXPECT_TRUE(rowsFollowModel());
  EXPECT_EQ(shell().playlist.currentIndex, 2);
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
  EXPECT_EQ(titleText(), "00:00 x.wav [00:02]");
}

TEST_F(DropTest, AShortcutBringsItsTarget) {
  startWithList();
  const std::string song = writeWave("target.wav", 1);
  const std::string link = file("song.lnk");
  ASSERT_TRUE(writeShortcut(link, song));
  dropAt(titleArea(), {link});
  ASSERT_EQ(shell().playlist.count(), 1);
  EXPECT_STREQ(shell().playlist.entry(0)->path, song.c_str());
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
}

class DroppedFolderTest : public DropTest {
 protected:
  // music\a.wav, music\deep\b.mp3, music\deep\deeper\c.wav; a folder whose
  // name begins with "." and a text file that are never taken.
  std::string makeFolder() {
    const std::string music = file("music");
    CreateDirectoryA(music.c_str(), nullptr);
    CreateDirectoryA((music + "\\deep").c_str(), nullptr);
    CreateDirectoryA((music + "\\deep\\deeper").c_str(), nullptr);
    CreateDirectoryA((music + "\\.hidden").c_str(), nullptr);
    writeWave("music\\a.wav", 1);
    writeMpeg("music\\deep\\b.mp3", 20, "Bee", "Band");
    writeWave("music\\deep\\deeper\\c.wav", 1);
    writeWave("music\\.hidden\\d.wav", 1);
    writeFileBytes(file("music\\notes.txt"), Bytes(10, 'x'));
    return music;
  }
};

TEST_F(DroppedFolderTest, AFolderBringsItsAudioFilesWithThoseOfItsSubfolders) {
  startWithList();
  const std::string music = makeFolder();
  dropAt(inMainWindow(rowCentre(0)), {music});
  EXPECT_EQ(sortedNames(), (Names{"a.wav", "b.mp3", "c.wav"}));
  EXPECT_TRUE(rowsFollowModel());
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);
}

TEST_F(DroppedFolderTest, AShortcutToAFolderBringsTheFolderWithItsSubfolders) {
  startWithList();
  const std::string music = makeFolder();
  const std::string link = file("music.lnk");
  ASSERT_TRUE(writeShortcut(link, music));
  dropAt(titleArea(), {link});
  EXPECT_EQ(sortedNames(), (Names{"a.wav", "b.mp3", "c.wav"}));
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
}

}  // namespace
}  // namespace orva::test

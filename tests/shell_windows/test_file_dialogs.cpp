// The dialogs behind the list commands: the open-file dialog (single and
// multiple selection, from the main menu and from the list menu), the
// folder browser with its search-subfolders check box, and "save list as"
// in both forms. A second thread works each dialog while the test thread
// sits in its modal loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "orva_engine.h"
#include "playlist/add_files.h"
#include "resources/resource_ids.h"
#include "tests/shell_windows/list_box_probe.h"
#include "tests/shell_windows/player_fixture.h"
#include "tests/support/test_support.h"

namespace orva::test {
namespace {

using Names = std::vector<std::string>;

constexpr int kSubfolderBox = 3000;

class FileDialogTest : public PlayerTest {
 protected:
  void startWithList() {
    startPlayer();
    ASSERT_TRUE(showPlaylist());
  }
  HWND box() { return shell().playlistBox; }
  void listCommand(int id) { SendMessageA(box(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  // A folder "pick" with a.wav and b.wav, made the current directory (where
  // the open-file dialog starts).
  std::string makePickFolder() {
    const std::string pick = file("pick");
    CreateDirectoryA(pick.c_str(), nullptr);
    writeWave("pick\\a.wav", 1);
    writeWave("pick\\b.wav", 2);
    SetCurrentDirectoryA(pick.c_str());
    return pick;
  }
  std::string readText(const std::string& path) {
    const std::vector<uint8_t> bytes = readFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
  }
};

TEST_F(FileDialogTest, LoadFilesFromTheMainMenuAddsTheChosenFilesAndPlaysTheFirst) {
  startWithList();
  addFile(shell().playlist, writeWave("0.wav", 1).c_str());
  makePickFolder();
  DialogDriver driver([](HWND dialog) { chooseFileName(dialog, "\"a.wav\" \"b.wav\""); });
  command(IDM_LOAD_FILES);
  EXPECT_TRUE(driver.finish());
  EXPECT_EQ(entryNames(), (Names{"0.wav", "a.wav", "b.wav"}));
  EXPECT_EQ(std::string(shell().playlist.entry(1)->path), file("pick\\a.wav"));
  EXPECT_TRUE(rowsFollowModel());
  EXPECT_EQ(shell().playlist.currentIndex, 1);
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);
}

TEST_F(FileDialogTest, LoadFilesFromTheListMenuOnlyAdds) {
  startWithList();
  makePickFolder();
  const std::string b = file("pick\\b.wav");
  DialogDriver driver([&b](HWND dialog) { chooseFileName(dialog, b); });
  listCommand(IDM_LOAD_FILES);
  EXPECT_TRUE(driver.finish());
  EXPECT_EQ(entryNames(), (Names{"b.wav"}));
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);
  EXPECT_EQ(shell().continueFlag, 0);
}

TEST_F(FileDialogTest, ACancelledLoadAddsAndStartsNothing) {
  startWithList();
  makePickFolder();
  DialogDriver driver([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); });
  command(IDM_LOAD_FILES);
  EXPECT_TRUE(driver.finish());
  EXPECT_EQ(shell().playlist.count(), 0);
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);
}

class FolderBrowserTest : public FileDialogTest {
 protected:
  // music\top.wav and music\sub\inner.wav.
  std::string makeMusic() {
    const std::string music = file("music");
    CreateDirectoryA(music.c_str(), nullptr);
    CreateDirectoryA((music + "\\sub").c_str(), nullptr);
    writeWave("music\\top.wav", 1);
    writeWave("music\\sub\\inner.wav", 1);
    return music;
  }
  // Opens the folder browser from the list menu, clicks its check box
  // `clicks` times, chooses `folder` and confirms (or cancels).
  void browse(const std::string& folder, int clicks, bool confirm = true) {
    DialogDriver driver([&](HWND dialog) {
      const HWND box = waitForChild(dialog, kSubfolderBox);
      if (box == nullptr) return;
      char text[64] = {};
      GetWindowTextA(box, text, sizeof text);
      boxText_ = text;
      checkedAtStart_ = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
      for (int i = 0; i < clicks; ++i) SendMessageA(box, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
      checkedAtEnd_ = SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
      selectFolder(dialog, folder);
      PostMessageA(dialog, WM_COMMAND, confirm ? IDOK : IDCANCEL, 0);
    });
    listCommand(IDM_OPEN_FOLDER);
    EXPECT_TRUE(driver.finish());
  }
  // Selects `folder` in the browser's tree and waits until the tree shows
  // it: under load the dialog may still be settling its first selection.
  static void selectFolder(HWND dialog, const std::string& folder) {
    const std::string leaf = folder.substr(folder.find_last_of('\\') + 1);
    const HWND tree = FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
    for (int attempt = 0; attempt < 100; ++attempt) {
      SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(folder.c_str()));
      if (selectedTreeText(tree) == leaf) return;
      Sleep(50);
    }
  }
  static std::string selectedTreeText(HWND tree) {
    char text[MAX_PATH] = {};
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (item.hItem == nullptr || !SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return {};
    return text;
  }
  std::vector<std::string> sortedNames() {
    std::vector<std::string> names = entryNames();
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string boxText_;
  std::atomic<bool> checkedAtStart_{true};
  std::atomic<bool> checkedAtEnd_{false};
};

TEST_F(FolderBrowserTest, WithTheBoxCheckedSubfoldersAreSearchedToo) {
  startWithList();
  const std::string music = makeMusic();
  browse(music, 1);
  EXPECT_EQ(boxText_, "サブディレクトリも探す");
  EXPECT_FALSE(checkedAtStart_);
  EXPECT_TRUE(checkedAtEnd_);
  EXPECT_EQ(sortedNames(), (Names{"inner.wav", "top.wav"}));
  EXPECT_TRUE(rowsFollowModel());
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);
}

TEST_F(FolderBrowserTest, WithTheBoxClearSubfoldersAreLeftAlone) {
  startWithList();
  const std::string music = makeMusic();
  browse(music, 2);
  EXPECT_FALSE(checkedAtEnd_);
  EXPECT_EQ(sortedNames(), (Names{"top.wav"}));
}

TEST_F(FolderBrowserTest, EachBrowseStartsWithTheBoxClear) {
  startWithList();
  const std::string music = makeMusic();
  browse(music, 1, false);
  EXPECT_EQ(shell().playlist.count(), 0);
  browse(music, 0);
  EXPECT_FALSE(checkedAtStart_);
  EXPECT_EQ(sortedNames(), (Names{"top.wav"}));
}

class SaveListTest : public FileDialogTest {
 protected:
  // Saves the list through the list menu with filter `filter` (-1: cancel)
  // under `name`; true when the dialog opened.
  bool saveAs(int filter, const std::string& path) {
    DialogDriver driver(
        [&](HWND dialog) {
          if (filter < 0) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
          }
          const HWND filters = waitForChild(dialog, 0x470);
          for (int i = 0; i < 2; ++i) {
            char text[128] = {};
            SendMessageA(filters, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            filterTexts_.emplace_back(text);
          }
          chooseFilter(dialog, filter);
          chooseFileName(dialog, path);
        },
        filter == -2 ? 1500 : 10000);
    listCommand(IDM_SAVE_LIST_AS);
    return driver.finish();
  }
  std::vector<std::string> filterTexts_;
};

TEST_F(SaveListTest, TheFirstFilterWritesBarePathsAndTheSecondTheExtendedForm) {
  startWithList();
  const std::string a = writeWave("a.wav", 1);
  const std::string b = writeWave("b.wav", 1);
  addFile(shell().playlist, a.c_str());
  addFile(shell().playlist, b.c_str());

  ASSERT_TRUE(saveAs(0, file("plain.m3u")));
  EXPECT_EQ(filterTexts_, (Names{"プレイリスト ファイル (*.M3U)", "拡張プレイリスト ファイル (*.M3U)"}));
  EXPECT_EQ(readText(file("plain.m3u")), a + "\r\n" + b + "\r\n");

  ASSERT_TRUE(saveAs(1, file("extended.m3u")));
  EXPECT_EQ(readText(file("extended.m3u")),
            "#EXTM3U\r\n#EXTINF:-1,a.wav\r\n" + a + "\r\n#EXTINF:-1,b.wav\r\n" + b + "\r\n");
}

TEST_F(SaveListTest, ACancelledSaveWritesNothing) {
  startWithList();
  addFile(shell().playlist, writeWave("a.wav", 1).c_str());
  EXPECT_TRUE(saveAs(-1, ""));
  WIN32_FIND_DATAA found{};
  const HANDLE search = FindFirstFileA(file("*.m3u").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
}

TEST_F(SaveListTest, AnEmptyListOpensNoDialog) {
  startWithList();
  EXPECT_FALSE(saveAs(-2, file("empty.m3u")));
  EXPECT_EQ(GetFileAttributesA(file("empty.m3u").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace orva::test

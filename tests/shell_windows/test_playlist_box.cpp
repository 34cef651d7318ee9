// The play list box against the play list: its rows after every change,
// the keys and clicks it answers, the move drag driven by mouse messages,
// and how a row is painted.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "orva_engine.h"
#include "playlist/add_files.h"
#include "playlist/path_parts.h"
#include "playlist/playlist_entry.h"
#include "resources/resource_ids.h"
#include "shell/gdi_resources.h"
#include "tests/engine/engine_fixtures.h"
#include "tests/shell_windows/list_box_probe.h"
#include "tests/shell_windows/player_fixture.h"
#include "tests/support/test_support.h"

namespace orva::test {
namespace {

using Names = std::vector<std::string>;

class PlaylistBoxTest : public PlayerTest {
 protected:
  void startWithList() {
    startPlayer();
    ASSERT_TRUE(showPlaylist());
  }
  HWND box() { return shell().playlistBox; }

  // Waves "0.wav" .. "<count - 1>.wav", added in that order.
  void addWaves(int count) {
    for (int i = 0; i < count; ++i) addFile(shell().playlist, writeWave(std::to_string(i) + ".wav", 1).c_str());
  }
  // MPEG files (their durations are known once added) "s0.mp3" ...
  void addSongs(int count) {
    for (int i = 0; i < count; ++i) addFile(shell().playlist, writeMpeg("s" + std::to_string(i) + ".mp3", 40).c_str());
  }
  void listCommand(int id) { SendMessageA(box(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  void mouse(UINT message, WPARAM keys, POINT at) { SendMessageA(box(), message, keys, pointParam(at)); }
  // One move drag: press on `from`, move over each row of `over`, release
  // on the last.
  void drag(int from, const std::vector<int>& over) {
    mouse(WM_LBUTTONDOWN, MK_LBUTTON, rowCentre(from));
    for (int row : over) mouse(WM_MOUSEMOVE, MK_LBUTTON, rowCentre(row));
    mouse(WM_LBUTTONUP, 0, rowCentre(over.back()));
  }
};

TEST_F(PlaylistBoxTest, RowsFollowAddsAndEveryWayOfRemoving) {
  startWithList();
  addWaves(6);
  EXPECT_TRUE(rowsFollowModel());

  selectRows({1, 4});
  key(box(), VK_DELETE);
  EXPECT_EQ(entryNames(), (Names{"0.wav", "2.wav", "3.wav", "5.wav"}));
  EXPECT_TRUE(rowsFollowModel());

  selectRows({0, 3});
  listCommand(IDM_REMOVE_ITEMS);
  EXPECT_EQ(entryNames(), (Names{"2.wav", "3.wav"}));
  EXPECT_TRUE(rowsFollowModel());

  listCommand(IDM_REMOVE_ALL);
  EXPECT_EQ(shell().playlist.count(), 0);
  EXPECT_TRUE(rowsFollowModel());
}

TEST_F(PlaylistBoxTest, RemovingRowsAboveTheCurrentEntryKeepsItCurrent) {
  startWithList();
  addWaves(5);
  selectRows({4});
  listCommand(IDM_PLAY_SELECTED);
  ASSERT_EQ(shell().playlist.currentIndex, 4);

  selectRows({1, 3});
  listCommand(IDM_REMOVE_ITEMS);
  EXPECT_EQ(entryNames(), (Names{"0.wav", "2.wav", "4.wav"}));
  EXPECT_EQ(shell().playlist.currentIndex, 2);
  EXPECT_TRUE(rowsFollowModel());
}

class PlaylistSortTest : public PlaylistBoxTest {
 protected:
  // Shown as "artist - title"; file names, titles, artists, years and
  // write times each sort into a different order.
  void addTaggedSongs() {
    struct Song {
      const char* name;
      const char* title;
      const char* artist;
      const char* year;
      int day;
    };
    const Song songs[] = {
        {"m0.mp3", "Yellow", "Cat", "1994", 30}, {"m1.mp3", "Zebra", "Ant", "1990", 10},
        {"m2.mp3", "Xray", "Emu", "1991", 40},   {"m3.mp3", "Wolf", "Bee", "1993", 20},
        {"m4.mp3", "Violet", "Dog", "1992", 50},
    };
    for (const Song& s : songs) {
      const std::string path = writeTaggedMpeg(file(s.name), s.title, s.artist, s.year);
      setWriteDay(path, s.day);
      addFile(shell().playlist, path.c_str());
    }
    ASSERT_EQ(displayText(0), "Cat - Yellow");
  }
};

TEST_F(PlaylistSortTest, EachKeySortsTheRowsAndTheSameKeyTwiceReverses) {
  startWithList();
  addTaggedSongs();

  listCommand(IDM_SORT_TITLE);
  EXPECT_EQ(entryNames(), (Names{"m1.mp3", "m3.mp3", "m0.mp3", "m4.mp3", "m2.mp3"}));
  EXPECT_TRUE(rowsFollowModel());
  listCommand(IDM_SORT_TITLE);
  EXPECT_EQ(entryNames(), (Names{"m2.mp3", "m4.mp3", "m0.mp3", "m3.mp3", "m1.mp3"}));
  EXPECT_TRUE(rowsFollowModel());

  listCommand(IDM_SORT_SONG);
  EXPECT_EQ(entryNames(), (Names{"m4.mp3", "m3.mp3", "m2.mp3", "m0.mp3", "m1.mp3"}));
  EXPECT_TRUE(rowsFollowModel());
  listCommand(IDM_SORT_ARTIST);
  EXPECT_EQ(entryNames(), (Names{"m1.mp3", "m3.mp3", "m0.mp3", "m4.mp3", "m2.mp3"}));
  listCommand(IDM_SORT_DATE);
  EXPECT_EQ(entryNames(), (Names{"m1.mp3", "m2.mp3", "m4.mp3", "m3.mp3", "m0.mp3"}));
  listCommand(IDM_SORT_TIME_STAMP);
  EXPECT_EQ(entryNames(), (Names{"m1.mp3", "m3.mp3", "m0.mp3", "m2.mp3", "m4.mp3"}));
  listCommand(IDM_SORT_TIME_STAMP);
  EXPECT_EQ(entryNames(), (Names{"m4.mp3", "m2.mp3", "m0.mp3", "m3.mp3", "m1.mp3"}));
  EXPECT_TRUE(rowsFollowModel());
}

TEST_F(PlaylistSortTest, WithSeveralSelectedOnlyTheirPositionsPermute) {
  startWithList();
  addTaggedSongs();
  selectRows({0, 2, 4});
  listCommand(IDM_SORT_SONG);
  EXPECT_EQ(entryNames(), (Names{"m4.mp3", "m1.mp3", "m2.mp3", "m3.mp3", "m0.mp3"}));
  EXPECT_TRUE(rowsFollowModel());
}

TEST_F(PlaylistBoxTest, DraggingTheSelectionMovesItsEntriesAsOneBlock) {
  startWithList();
  addWaves(5);
  selectRows({1, 3});
  drag(1, {2});
  EXPECT_EQ(entryNames(), (Names{"0.wav", "2.wav", "1.wav", "4.wav", "3.wav"}));
  EXPECT_TRUE(rowsFollowModel());
  // The list box then selects the row under the pointer as for a click.
  EXPECT_EQ(selectedRows(), (std::vector<int>{2}));
  EXPECT_EQ(shell().listDrag.dragState, kListDragIdle);
  EXPECT_NE(GetCapture(), box());
}

TEST_F(PlaylistBoxTest, TheDraggedBlockStopsAtEitherEnd) {
  startWithList();
  addWaves(5);
  selectRows({3, 4});
  drag(3, {4});
  EXPECT_EQ(entryNames(), (Names{"0.wav", "1.wav", "2.wav", "3.wav", "4.wav"}));

  selectRows({1, 3});
  drag(1, {2, 3, 4});
  EXPECT_EQ(entryNames(), (Names{"0.wav", "2.wav", "1.wav", "4.wav", "3.wav"}));

  selectRows({1, 2});
  drag(2, {1, 0});
  EXPECT_EQ(entryNames(), (Names{"2.wav", "1.wav", "0.wav", "4.wav", "3.wav"}));
  EXPECT_TRUE(rowsFollowModel());
}

TEST_F(PlaylistBoxTest, RemovingRowsDuringADragEndsItAndFreesTheMouse) {
  startWithList();
  addWaves(5);
  selectRows({1, 2});
  mouse(WM_LBUTTONDOWN, MK_LBUTTON, rowCentre(1));
  mouse(WM_MOUSEMOVE, MK_LBUTTON, rowCentre(2));
  ASSERT_EQ(GetCapture(), box());
  key(box(), VK_DELETE);
  EXPECT_EQ(entryNames(), (Names{"0.wav", "3.wav", "4.wav"}));
  EXPECT_EQ(shell().listDrag.dragState, kListDragIdle);
  EXPECT_NE(GetCapture(), box());
  mouse(WM_MOUSEMOVE, MK_LBUTTON, rowCentre(0));
  mouse(WM_LBUTTONUP, 0, rowCentre(0));
  EXPECT_EQ(entryNames(), (Names{"0.wav", "3.wav", "4.wav"}));
  EXPECT_TRUE(rowsFollowModel());
}

TEST_F(PlaylistBoxTest, APlainClickOnAnUnselectedRowSelectsItWithoutMoving) {
  startWithList();
  addWaves(3);
  selectRows({0});
  mouse(WM_LBUTTONDOWN, MK_LBUTTON, rowCentre(2));
  mouse(WM_MOUSEMOVE, MK_LBUTTON, rowCentre(1));
  mouse(WM_LBUTTONUP, 0, rowCentre(1));
  EXPECT_EQ(entryNames(), (Names{"0.wav", "1.wav", "2.wav"}));
  EXPECT_EQ(shell().listDrag.dragState, kListDragIdle);
}

TEST_F(PlaylistBoxTest, EnterAndDoubleClickPlayTheCaretItem) {
  startWithList();
  addWaves(4);
  selectRows({2});
  key(box(), VK_RETURN);
  EXPECT_EQ(shell().playlist.currentIndex, 2);
  EXPECT_EQ(engineStateNow(), ENGINE_PLAYING);

  mouse(WM_LBUTTONDOWN, MK_LBUTTON, rowCentre(3));
  mouse(WM_LBUTTONUP, 0, rowCentre(3));
  mouse(WM_LBUTTONDBLCLK, MK_LBUTTON, rowCentre(3));
  mouse(WM_LBUTTONUP, 0, rowCentre(3));
  EXPECT_EQ(shell().playlist.currentIndex, 3);
  EXPECT_EQ(titleText(), "00:00 3.wav [00:01]");
}

// The Enter that confirms a dialog opened from the list menu comes up
// after the focus is back in the list box; only keys pressed there act.
TEST_F(PlaylistBoxTest, AKeyReleasedHereThatWentDownElsewhereDoesNothing) {
  startWithList();
  addWaves(3);
  selectRows({1});
  SendMessageA(box(), WM_KEYUP, VK_RETURN, 0xC0000001);
  SendMessageA(box(), WM_KEYUP, VK_DELETE, 0xC0000001);
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);
  EXPECT_EQ(shell().playlist.count(), 3);

  SendMessageA(box(), WM_KEYDOWN, VK_RETURN, 1);
  SendMessageA(box(), WM_KILLFOCUS, 0, 0);
  SendMessageA(box(), WM_KEYUP, VK_RETURN, 0xC0000001);
  EXPECT_EQ(engineStateNow(), ENGINE_STOPPED);

  key(box(), VK_DELETE);
  EXPECT_EQ(entryNames(), (Names{"0.wav", "2.wav"}));
}

TEST_F(PlaylistBoxTest, CtrlASelectsEveryRow) {
  startWithList();
  addWaves(4);
  selectRows({1});
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  BYTE held[256];
  std::copy(std::begin(keys), std::end(keys), std::begin(held));
  held[VK_CONTROL] = 0x80;
  held['A'] = 0x80;
  SetKeyboardState(held);
  SendMessageA(box(), WM_CHAR, 1, 0);  // Ctrl+A arrives as character 1
  SetKeyboardState(keys);
  EXPECT_EQ(selectedRows(), (std::vector<int>{0, 1, 2, 3}));
}

// Closes the list menu from inside its modal loop and notes that it was
// open.
bool gMenuSeen = false;
void CALLBACK closeMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  if (FindWindowA("#32768", nullptr) == nullptr) return;
  gMenuSeen = true;
  EndMenu();
  KillTimer(nullptr, timer);
}

class PlaylistMenuTest : public PlaylistBoxTest {
 protected:
  bool rightClick(int row) {
    gMenuSeen = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, closeMenu);
    mouse(WM_RBUTTONDOWN, MK_RBUTTON, rowCentre(row));
    mouse(WM_RBUTTONUP, 0, rowCentre(row));
    KillTimer(nullptr, timer);
    return gMenuSeen;
  }
};

TEST_F(PlaylistMenuTest, WithOneSelectedTheRowUnderThePointerIsSelectedFirst) {
  startWithList();
  addWaves(4);
  selectRows({0});
  EXPECT_TRUE(rightClick(2));
  EXPECT_EQ(selectedRows(), (std::vector<int>{2}));
  EXPECT_EQ(shell().listDrag.dragState, kListDragIdle);
}

TEST_F(PlaylistMenuTest, ARightClickDuringADragIsIgnored) {
  startWithList();
  addWaves(5);
  selectRows({1});
  mouse(WM_LBUTTONDOWN, MK_LBUTTON, rowCentre(1));
  EXPECT_FALSE(rightClick(3));
  EXPECT_EQ(shell().listDrag.dragState, kListDragMoving);
  mouse(WM_MOUSEMOVE, MK_LBUTTON, rowCentre(3));
  mouse(WM_LBUTTONUP, 0, rowCentre(3));
  EXPECT_EQ(entryNames(), (Names{"0.wav", "2.wav", "3.wav", "1.wav", "4.wav"}));
  EXPECT_TRUE(rowsFollowModel());
  EXPECT_EQ(selectedRows(), (std::vector<int>{3}));
}

TEST_F(PlaylistMenuTest, WithSeveralSelectedTheSelectionStays) {
  startWithList();
  addWaves(4);
  selectRows({0, 1});
  EXPECT_TRUE(rightClick(3));
  EXPECT_EQ(selectedRows(), (std::vector<int>{0, 1}));
}

// A row painted through the main window's WM_DRAWITEM onto a bitmap of the
// list box's width.
class RowPicture {
 public:
  RowPicture(HWND box, int row, bool selected) {
    RECT client{};
    GetClientRect(box, &client);
    width_ = client.right;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    dc_ = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    pixels_ = static_cast<const uint32_t*>(bits);
    previousBitmap_ = SelectObject(dc_, bitmap_);
    previousFont_ = SelectObject(dc_, uiFont());
    // A colour no row uses, so that unpainted pixels show.
    const HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    RECT all{0, 0, width_, kHeight};
    FillRect(dc_, &all, green);
    DeleteObject(green);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_LISTBOX;
    item.CtlID = IDC_PLAYLIST;
    item.itemID = static_cast<UINT>(row);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = selected ? ODS_SELECTED : 0;
    item.hwndItem = box;
    item.hDC = dc_;
    item.rcItem = RECT{0, 0, width_, kHeight};
    item.itemData = static_cast<ULONG_PTR>(SendMessageA(box, LB_GETITEMDATA, static_cast<WPARAM>(row), 0));
    SendMessageA(GetParent(box), WM_DRAWITEM, IDC_PLAYLIST, reinterpret_cast<LPARAM>(&item));
    GdiFlush();
  }
  ~RowPicture() {
    SelectObject(dc_, previousFont_);
    SelectObject(dc_, previousBitmap_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  RowPicture(const RowPicture&) = delete;
  RowPicture& operator=(const RowPicture&) = delete;

  int width() const { return width_; }
  COLORREF at(int x, int y) const {
    const uint32_t p = pixels_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  // Columns holding a pixel other than `fill`: the first and the last, or
  // -1 when there is none.
  std::pair<int, int> inkColumns(COLORREF fill) const {
    int first = -1;
    int last = -1;
    for (int x = 0; x < width_; ++x) {
      for (int y = 0; y < kHeight; ++y) {
        if (at(x, y) == fill) continue;
        if (first < 0) first = x;
        last = x;
        break;
      }
    }
    return {first, last};
  }
  bool hasPixel(COLORREF colour) const {
    for (int i = 0; i < width_ * kHeight; ++i) {
      if (at(i % width_, i / width_) == colour) return true;
    }
    return false;
  }
  // The rightmost `columns` columns are the same as in `other`.
  bool sameRightEdge(const RowPicture& other, int columns) const {
    for (int x = width_ - columns; x < width_; ++x) {
      for (int y = 0; y < kHeight; ++y) {
        if (at(x, y) != other.at(x, y)) return false;
      }
    }
    return true;
  }

  static constexpr int kHeight = 12;

 private:
  int width_ = 0;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
  HGDIOBJ previousFont_ = nullptr;
  const uint32_t* pixels_ = nullptr;
};

constexpr COLORREF kNavy = RGB(0, 0, 128);

class PlaylistRowPaintTest : public PlaylistBoxTest {};

TEST_F(PlaylistRowPaintTest, ASelectedRowIsNavyWithItsDurationAtTheRightEdge) {
  startWithList();
  addSongs(1);
  ASSERT_EQ(shell().playlist.entry(0)->streamInfo.durationSeconds, 1);
  RowPicture row(box(), 0, true);
  EXPECT_EQ(row.at(0, 0), kNavy);
  EXPECT_EQ(row.at(row.width() - 1, RowPicture::kHeight - 1), kNavy);
  EXPECT_FALSE(row.hasPixel(RGB(0, 255, 0))) << "the row's rectangle covers it all";
  EXPECT_TRUE(row.hasPixel(RGB(255, 255, 255))) << "white text";
  const auto [first, last] = row.inkColumns(kNavy);
  EXPECT_LT(first, 4) << "the display text starts at the left edge";
  EXPECT_GE(last, row.width() - 5) << "the duration ends at the right edge";
}

TEST_F(PlaylistRowPaintTest, AnUnselectedRowHasTheWindowColourAndBlackText) {
  startWithList();
  addSongs(1);
  RowPicture row(box(), 0, false);
  const COLORREF window = gdiResources().windowColour;
  EXPECT_EQ(row.at(0, 0), window);
  EXPECT_TRUE(row.hasPixel(RGB(0, 0, 0)));
  EXPECT_FALSE(row.hasPixel(kNavy));
  EXPECT_GE(row.inkColumns(window).second, row.width() - 5);
}

TEST_F(PlaylistRowPaintTest, AnEntryWithoutDurationShowsOnlyItsText) {
  startWithList();
  // A "wav" file the reader rejects: its name, and no duration.
  const std::string junk = file("junk.wav");
  writeFileBytes(junk, Bytes(64, 0x11));
  addFile(shell().playlist, junk.c_str());
  ASSERT_EQ(shell().playlist.count(), 1);
  ASSERT_EQ(shell().playlist.entry(0)->streamInfo.durationSeconds, -1);
  RowPicture row(box(), 0, true);
  const auto [first, last] = row.inkColumns(kNavy);
  EXPECT_LT(first, 4);
  EXPECT_GT(last, 10);
  EXPECT_LT(last, row.width() / 2) << "nothing at the right edge";
}

TEST_F(PlaylistRowPaintTest, ALongTextIsCutBeforeTheDuration) {
  startWithList();
  addSongs(2);
  copyText(shell().playlist.entry(1)->displayText, kDisplayTextSize, std::string(300, 'W').c_str());
  RowPicture shortText(box(), 0, true);
  RowPicture longText(box(), 1, true);
  EXPECT_TRUE(longText.sameRightEdge(shortText, 24));
  EXPECT_GT(longText.inkColumns(kNavy).second - longText.inkColumns(kNavy).first, longText.width() - 8);
}

TEST_F(PlaylistRowPaintTest, TheListBoxOnScreenPaintsSelectedRowsNavy) {
  startWithList();
  addSongs(3);
  selectRows({1});
  SetWindowPos(mainWindow(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  InvalidateRect(box(), nullptr, TRUE);
  UpdateWindow(box());
  pumpFor(50);
  const HDC screen = GetDC(box());
  RECT selected{};
  SendMessageA(box(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&selected));
  RECT plain{};
  SendMessageA(box(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&plain));
  // Near the right end of the name, where no text is drawn.
  const COLORREF inSelected = GetPixel(screen, selected.right / 2, selected.top + 1);
  const COLORREF inPlain = GetPixel(screen, plain.right / 2, plain.top + 1);
  ReleaseDC(box(), screen);
  EXPECT_EQ(inSelected, kNavy);
  EXPECT_EQ(inPlain, gdiResources().windowColour);
}

}  // namespace
}  // namespace orva::test

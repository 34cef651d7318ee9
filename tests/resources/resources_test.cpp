// The compiled resources as the program sees them through the Win32 loaders:
// menu texts in exact cp932, the glyph sheet's form and glyph places, both
// icon sizes and the about box. The texts below are UTF-8 in the source and
// cp932 in the binary (-fexec-charset), as the program's own are.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace {

HINSTANCE module() { return GetModuleHandleA(nullptr); }

// One row of a pop-up: a command, a separator, or a sub-menu with its rows.
struct MenuRow {
  enum Kind { Command, Separator, SubMenu } kind;
  UINT id;
  const char* text;
  std::vector<MenuRow> rows;
};

MenuRow command(UINT id, const char* text) { return {MenuRow::Command, id, text, {}}; }
MenuRow separator() { return {MenuRow::Separator, 0, "", {}}; }
MenuRow subMenu(const char* text, std::vector<MenuRow> rows) { return {MenuRow::SubMenu, 0, text, std::move(rows)}; }

std::vector<MenuRow> mainPopup() {
  return {command(IDM_ABOUT, "オルヴァについて..."),
          separator(),
          command(IDM_LOAD_FILES, "ファイル読み込み(&L)..."),
          separator(),
          subMenu("オプション(&O)",
                  {command(IDM_SETTINGS, "設定...(&P)"), separator(), command(IDM_ALWAYS_ON_TOP, "常に手前表示(&T)"),
                   command(IDM_STICKY_MODE, "くっつきモード(&K)"), separator(),
                   command(IDM_SAVE_SETTINGS, "設定を保存(&S)")}),
          separator(),
          command(IDM_PREVIOUS, "|< 前の曲へ(&R)"),
          command(IDM_PLAY, "> 再生(&P)"),
          command(IDM_PAUSE, "|| 一時停止(&A)"),
          command(IDM_STOP, "□ 停止(&S)"),
          command(IDM_NEXT, ">| 次の曲へ(&N)"),
          separator(),
          command(IDM_EXIT, "終了(&E)")};
}

std::vector<MenuRow> listPopup() {
  return {command(IDM_PLAY_SELECTED, "演奏開始(&S)"),
          command(IDM_INFORMATION, "情報(&I)..."),
          separator(),
          subMenu("ソート", {command(IDM_SORT_TITLE, "タイトル"), separator(), command(IDM_SORT_ARTIST, "アーティスト"),
                             command(IDM_SORT_SONG, "曲名"), command(IDM_SORT_DATE, "作成日"), separator(),
                             command(IDM_SORT_TIME_STAMP, "ﾀｲﾑｽﾀﾝﾌﾟ")}),
          separator(),
          command(IDM_REMOVE_ITEMS, "項目の消去(&D)"),
          command(IDM_REMOVE_ALL, "すべて消去(&A)"),
          separator(),
          command(IDM_LOAD_FILES, "ファイル読み込み(&L)..."),
          command(IDM_OPEN_FOLDER, "フォルダで開く(&F)..."),
          separator(),
          command(IDM_SAVE_LIST_AS, "名前を付けてリスト保存(&L)...")};
}

std::string textAt(HMENU menu, int position) {
  char text[256] = {};
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

void expectRows(HMENU menu, const std::vector<MenuRow>& rows, const std::string& where) {
  ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(rows.size())) << where;
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    const MenuRow& row = rows[i];
    SCOPED_TRACE(where + " row " + std::to_string(i));
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
    ASSERT_TRUE(GetMenuItemInfoA(menu, i, TRUE, &info));
    EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, row.kind == MenuRow::Separator);
    EXPECT_EQ(info.hSubMenu != nullptr, row.kind == MenuRow::SubMenu);
    if (row.kind == MenuRow::Command) {
      EXPECT_EQ(info.wID, row.id);
    }
    if (row.kind != MenuRow::Separator) {
      EXPECT_EQ(textAt(menu, i), row.text);
    }
    if (row.kind == MenuRow::SubMenu) expectRows(info.hSubMenu, row.rows, where + " > " + std::to_string(i));
  }
}

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(menu_ = LoadMenuA(module(), IDR_MYPOPUP), nullptr); }
  void TearDown() override { DestroyMenu(menu_); }
  HMENU menu_ = nullptr;
};

TEST_F(MenuTest, HoldsTheTwoPopupsWithEveryItemInOrder) {
  ASSERT_EQ(GetMenuItemCount(menu_), 2);
  ASSERT_NE(GetSubMenu(menu_, POPUP_MAIN), nullptr);
  ASSERT_NE(GetSubMenu(menu_, POPUP_LIST), nullptr);
  expectRows(GetSubMenu(menu_, POPUP_MAIN), mainPopup(), "main");
  expectRows(GetSubMenu(menu_, POPUP_LIST), listPopup(), "list");
}

TEST_F(MenuTest, TextsAreTheCp932BytesThemselves) {
  // Spelled out as bytes, so a wrong conversion on either side cannot hide:
  // half-width katakana take one byte each; ソ and 表 end in 0x5C, the byte
  // windres reads as an escape in cp932 sources.
  HMENU sort = GetSubMenu(GetSubMenu(menu_, POPUP_LIST), 3);
  EXPECT_EQ(textAt(sort, 6), "\xC0\xB2\xD1\xBD\xC0\xDD\xCC\xDF");  // ﾀｲﾑｽﾀﾝﾌﾟ, one byte a character
  EXPECT_EQ(textAt(GetSubMenu(menu_, POPUP_LIST), 3), "\x83\x5C\x81\x5B\x83\x67");
  HMENU options = GetSubMenu(GetSubMenu(menu_, POPUP_MAIN), 4);
  EXPECT_EQ(textAt(options, 2), "\x8F\xED\x82\xC9\x8E\xE8\x91\x4F\x95\x5C\x8E\xA6(&T)");
}

TEST_F(MenuTest, OnlyTheSettingsItemIsGreyed) {
  HMENU options = GetSubMenu(GetSubMenu(menu_, POPUP_MAIN), 4);
  EXPECT_TRUE(GetMenuState(options, IDM_SETTINGS, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(GetMenuState(options, IDM_SAVE_SETTINGS, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED));
  EXPECT_FALSE(GetMenuState(menu_, IDM_EXIT, MF_BYCOMMAND) & MF_GRAYED);
}

TEST(ResourceLanguage, EveryResourceIsTaggedJapanese) {
  const WORD japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);
  EXPECT_NE(FindResourceExA(module(), RT_MENU, IDR_MYPOPUP, japanese), nullptr);
  EXPECT_NE(FindResourceExA(module(), RT_BITMAP, IDR_MAINBMP, japanese), nullptr);
  EXPECT_NE(FindResourceExA(module(), RT_DIALOG, IDD_ABOUT, japanese), nullptr);
  EXPECT_NE(FindResourceExA(module(), RT_GROUP_ICON, MAKEINTRESOURCEA(IDI_ORVA), japanese), nullptr);
}

// The glyph sheet's own header, as stored in the module.
const BITMAPINFOHEADER* storedSheetHeader() {
  HRSRC found = FindResourceA(module(), IDR_MAINBMP, RT_BITMAP);
  return found ? static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module(), found))) : nullptr;
}

TEST(GlyphSheet, IsThirtyBy149InSixteenColours) {
  const BITMAPINFOHEADER* header = storedSheetHeader();
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(header->biWidth, 30);
  EXPECT_EQ(header->biHeight, 149);
  EXPECT_EQ(header->biBitCount, 4);
  EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));

  HBITMAP sheet = LoadBitmapA(module(), IDR_MAINBMP);
  ASSERT_NE(sheet, nullptr);
  BITMAP shape = {};
  ASSERT_EQ(GetObjectA(sheet, sizeof shape, &shape), static_cast<int>(sizeof shape));
  EXPECT_EQ(shape.bmWidth, 30);
  EXPECT_EQ(shape.bmHeight, 149);
  DeleteObject(sheet);
}

TEST(GlyphSheet, GlyphsSitWhereTheButtonsCopyThemFrom) {
  HBITMAP sheet = LoadBitmapA(module(), IDR_MAINBMP);
  ASSERT_NE(sheet, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, sheet);
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
  struct Probe {
    int x, y;
    COLORREF colour;
    const char* what;
  } probes[] = {
      {0, 0, white, "sheet corner"},
      {4, 10, black, "previous: bar"},
      {10, 30, black, "play: triangle"},
      {6, 50, black, "pause: left bar"},
      {10, 50, white, "pause: gap"},
      {10, 70, black, "stop: square"},
      {14, 90, black, "next: bar"},
      {7, 101, black, "PL: P"},
      {7, 108, black, "EQ: E"},
      {7, 115, black, "LY: L"},
      {2, 143, black, "MODE: M"},
      {20, 134, black, "close mark: corner"},
      {21, 134, white, "close mark: gap"},
      {23, 137, black, "close mark: far corner"},
      {20, 83, black, "strip logo: ground"},
      {23, 84, white, "strip logo: letter"},
      {29, 111, black, "strip logo: corner"},
      {25, 112, white, "below the strip logo"},
  };
  for (const Probe& probe : probes) EXPECT_EQ(GetPixel(dc, probe.x, probe.y), probe.colour) << probe.what;
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(sheet);
}

TEST(ProgramIcon, HoldsA16And32PixelImage) {
  HRSRC found = FindResourceA(module(), MAKEINTRESOURCEA(IDI_ORVA), RT_GROUP_ICON);
  ASSERT_NE(found, nullptr);
  const BYTE* group = static_cast<const BYTE*>(LockResource(LoadResource(module(), found)));
  ASSERT_NE(group, nullptr);
  WORD count = 0;
  std::memcpy(&count, group + 4, sizeof count);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(group[6], 16);  // each entry: width, height, ..., 14 bytes
  EXPECT_EQ(group[6 + 14], 32);

  for (int size : {16, 32}) {
    HICON icon = static_cast<HICON>(LoadImageA(module(), MAKEINTRESOURCEA(IDI_ORVA), IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour = {};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, size);
    EXPECT_EQ(colour.bmHeight, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  EXPECT_NE(LoadIconA(module(), MAKEINTRESOURCEA(IDI_ORVA)), nullptr);
}

INT_PTR CALLBACK quietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::string windowText(HWND window) {
  char text[256] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

TEST(AboutBox, ShowsTheTitleVersionLineAndOkButton) {
  ASSERT_NE(FindResourceA(module(), IDD_ABOUT, RT_DIALOG), nullptr);
  HWND about = CreateDialogParamA(module(), IDD_ABOUT, nullptr, quietDialog, 0);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(windowText(about), "オルヴァについて");
  EXPECT_EQ(windowText(GetDlgItem(about, IDC_ABOUT_TEXT)), "オルヴァ  Ver.0.13");
  EXPECT_EQ(windowText(GetDlgItem(about, IDOK)), "&OK");
  EXPECT_NE(GetDlgItem(about, IDC_ABOUT_ICON), nullptr);

  LOGFONTA font = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(about, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, "ＭＳ Ｐゴシック");
  DestroyWindow(about);
}

}  // namespace

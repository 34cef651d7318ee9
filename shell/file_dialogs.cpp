// The common dialogs of the play list: open files, browse for a folder
// (with our own "search subfolders" check box), save the list as.
#include "shell/file_dialogs.h"

#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "playlist/add_files.h"
#include "playlist/path_parts.h"
#include "playlist/playlist_file.h"
#include "shell/controls.h"
#include "shell/gdi_resources.h"
#include "shell/shell_state.h"
#include "shell/wait_cursor.h"

namespace orva {

namespace {

// Filter lists: pairs of text and pattern, each ended by a NUL, the list by
// a second NUL (the literal's own).
constexpr char kOpenFilters[] =
    "対応してる全タイプ\0*.M3U;*.MP1;*.MP2;*.MP3;*.RMP;*.WAV;*.MPG\0"
    "プレイリスト ファイル (*.M3U)\0*.M3U\0"
    "MPEG Audio Files (*.MP1;*.MP2;*.MP3;*.RMP;*.MPG)\0*.MP1;*.MP2;*.MP3;*.RMP;*.MPG\0"
    "Microfost Waveform Audio Files (*.WAV)\0*.WAV\0"
    "すべてのファイル (*.*)\0*.*\0";
constexpr char kSaveFilters[] =
    "プレイリスト ファイル (*.M3U)\0*.M3U\0"
    "拡張プレイリスト ファイル (*.M3U)\0*.M3U\0";
constexpr size_t kOpenBufferBytes = 100000;
constexpr char kBrowseTitle[] = "ＭＰ３ファイルのあるフォルダを指定してください";
constexpr char kSubfolderBoxText[] = "サブディレクトリも探す";
constexpr int kSubfolderBoxId = 3000;
constexpr char kInitialFolder[] = "c:\\";

void repaintMainWindow() {
  const HWND main = shellState().mainWindow;
  InvalidateRect(main, nullptr, TRUE);
  UpdateWindow(main);
}

// A path that does not fit an entry is left out rather than cut: the cut
// path would name another file, or none.
int32_t addChosenFile(Playlist& list, const char* folder, const char* name) {
  char path[kMaxPath];
  const int written = std::snprintf(path, sizeof path, "%s%s", folder, name);
  if (written < 0 || static_cast<size_t>(written) >= sizeof path) return -1;
  return addFile(list, path);
}

// One file: its path. Several: the folder first, then each name, all
// NUL-separated.
int32_t addChosenFiles(const char* buffer) {
  Playlist& list = shellState().playlist;
  const char* second = buffer + std::strlen(buffer) + 1;
  if (*second == '\0') return addChosenFile(list, "", buffer);
  const char* separator = endsWithSeparator(buffer) ? "" : "\\";
  char folder[kMaxPath];
  const int written = std::snprintf(folder, sizeof folder, "%s%s", buffer, separator);
  if (written < 0 || static_cast<size_t>(written) >= sizeof folder) return -1;
  int32_t first = -1;
  for (const char* name = second; *name != '\0'; name += std::strlen(name) + 1) {
    const int32_t index = addChosenFile(list, folder, name);
    if (first == -1) first = index;
  }
  return first;
}

int CALLBACK browseCallback(HWND dialog, UINT message, LPARAM, LPARAM data) {
  if (message != BFFM_INITIALIZED || data == 0) return 0;
  // The starting folder is chosen before the check box exists: whoever
  // waits for the box (a person, a script) then sees the dialog finished,
  // and a choice made at once is not overtaken by the starting folder.
  SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, data);
  const HWND box = CreateWindowExA(0, "BUTTON", kSubfolderBoxText, WS_CHILD | WS_VISIBLE | BS_CHECKBOX, 10, 240, 150,
                                   25, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSubfolderBoxId)),
                                   shellState().appInstance, nullptr);
  SendMessageA(box, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont()), TRUE);
  subclassCheckBox(box);
  return 0;
}

}  // namespace

int32_t openFilesDialog(HWND owner) {
  std::vector<char> buffer(kOpenBufferBytes, '\0');
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kOpenFilters;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size() - 1);
  dialog.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameA(&dialog)) return -1;
  repaintMainWindow();
  return addChosenFiles(buffer.data());
}

int32_t browseForFolder(HWND owner, const char* initialFolder, char* out, size_t size) {
  char displayName[MAX_PATH] = {};
  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.pszDisplayName = displayName;
  info.lpszTitle = kBrowseTitle;
  info.lpfn = browseCallback;
  info.lParam = reinterpret_cast<LPARAM>(initialFolder);
  // The folder browser wants COM on the calling thread; it is set up for
  // the dialog only, as for a shortcut's resolution.
  const HRESULT com = CoInitialize(nullptr);
  char path[MAX_PATH] = {};
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
  if (chosen != nullptr) {
    if (!SHGetPathFromIDListA(chosen, path)) path[0] = '\0';
    CoTaskMemFree(chosen);
  }
  if (SUCCEEDED(com)) CoUninitialize();
  const size_t length = std::strlen(path);
  if (length == 0 || length >= size) return 2;
  std::memcpy(out, path, length + 1);
  return 1;
}

void addFolderDialog(HWND owner) {
  ShellState& s = shellState();
  s.playlist.recurseSubfolders = 0;
  char folder[kMaxPath] = {};
  if (browseForFolder(owner, kInitialFolder, folder, sizeof folder) != 1) return;
  removeTrailingSeparator(folder);
  WaitCursor wait;
  repaintMainWindow();
  scanFolder(s.playlist, folder, "*.*");
}

bool savePlaylistAsDialog(HWND owner) {
  const Playlist& list = shellState().playlist;
  if (list.count() == 0) return false;
  char path[kMaxPath] = {};
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kSaveFilters;
  dialog.lpstrFile = path;
  dialog.nMaxFile = sizeof path;
  dialog.lpstrDefExt = "m3u";
  dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
  if (!GetSaveFileNameA(&dialog)) return false;
  const bool extended = dialog.nFilterIndex != 1;
  return savePlaylist(list, path, extended);
}

}  // namespace orva

// The play list tests' view of the list box and their dialog driver.
#include "tests/shell_windows/list_box_probe.h"

#include "playlist/path_parts.h"
#include "resources/resource_ids.h"
#include "shell/shell_state.h"
#include "tests/engine/engine_fixtures.h"
#include "tests/support/test_support.h"

namespace orva::test {

namespace {

constexpr int kFileNameBox = 0x47C;  // cmb13
constexpr int kFilterBox = 0x470;    // cmb1

LRESULT toBox(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageA(shellState().playlistBox, message, wParam, lParam);
}

struct DialogSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK findOurDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<DialogSearch*>(data);
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != search->process || std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
}

HWND openDialog() {
  DialogSearch search{GetCurrentProcessId(), nullptr};
  EnumWindows(findOurDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

bool showPlaylist() {
  const ShellState& s = shellState();
  if (!IsWindowVisible(s.playlistBox)) SendMessageA(s.mainWindow, WM_COMMAND, MAKEWPARAM(IDC_LIST_TOGGLE, 0), 0);
  return IsWindowVisible(s.playlistBox) != FALSE;
}

::testing::AssertionResult rowsFollowModel() {
  const Playlist& list = shellState().playlist;
  const LRESULT rows = toBox(LB_GETCOUNT);
  if (rows != list.count()) {
    return ::testing::AssertionFailure() << rows << " rows for " << list.count() << " entries";
  }
  for (int32_t i = 0; i < list.count(); ++i) {
    const auto data = static_cast<LRESULT>(toBox(LB_GETITEMDATA, static_cast<WPARAM>(i)));
    if (data != reinterpret_cast<LRESULT>(list.entry(i))) {
      return ::testing::AssertionFailure() << "row " << i << " holds another entry than the list";
    }
  }
  return ::testing::AssertionSuccess();
}

std::vector<std::string> entryNames() {
  std::vector<std::string> names;
  const Playlist& list = shellState().playlist;
  for (int32_t i = 0; i < list.count(); ++i) names.emplace_back(fileNamePart(list.entry(i)->path));
  return names;
}

std::vector<int> selectedRows() {
  std::vector<int> rows(static_cast<size_t>(toBox(LB_GETCOUNT)) + 1);
  const LRESULT got = toBox(LB_GETSELITEMS, static_cast<WPARAM>(rows.size()), reinterpret_cast<LPARAM>(rows.data()));
  rows.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return rows;
}

void selectRows(const std::vector<int>& rows) {
  toBox(LB_SETSEL, FALSE, -1);
  for (int row : rows) toBox(LB_SETSEL, TRUE, row);
  if (!rows.empty()) toBox(LB_SETCARETINDEX, static_cast<WPARAM>(rows.front()), FALSE);
}

POINT rowCentre(int row) {
  RECT r{};
  toBox(LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

LPARAM pointParam(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

POINT inMainWindow(POINT listPoint) {
  MapWindowPoints(shellState().playlistBox, shellState().mainWindow, &listPoint, 1);
  return listPoint;
}

std::string writeTaggedMpeg(const std::string& path, const std::string& title, const std::string& artist,
                            const std::string& year) {
  Bytes bytes = l3Frames(40, 0x00);
  Bytes tag = id3v1Tag(title, artist, 12);
  // "TAG", title, artist and album of 30 bytes each, then the year.
  for (size_t i = 0; i < 4 && i < year.size(); ++i) tag[93 + i] = static_cast<uint8_t>(year[i]);
  append(bytes, tag);
  writeFileBytes(path, bytes);
  return path;
}

void setWriteDay(const std::string& path, int day) {
  SYSTEMTIME base{2000, 1, 0, 1, 12, 0, 0, 0};
  FILETIME time{};
  SystemTimeToFileTime(&base, &time);
  ULARGE_INTEGER value{};
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  value.QuadPart += static_cast<ULONGLONG>(day) * 24ULL * 3600ULL * 10000000ULL;
  time.dwLowDateTime = value.LowPart;
  time.dwHighDateTime = value.HighPart;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  SetFileTime(file, nullptr, nullptr, &time);
  CloseHandle(file);
}

DialogDriver::DialogDriver(std::function<void(HWND)> act, int waitMs)
    : thread_([this, act = std::move(act), waitMs] { run(act, waitMs); }) {}

DialogDriver::~DialogDriver() {
  if (thread_.joinable()) thread_.join();
}

bool DialogDriver::finish() {
  if (thread_.joinable()) thread_.join();
  return seen_;
}

void DialogDriver::run(std::function<void(HWND)> act, int waitMs) {
  const DWORD start = GetTickCount();
  HWND dialog = nullptr;
  while (dialog == nullptr && GetTickCount() - start < static_cast<DWORD>(waitMs)) {
    dialog = openDialog();
    if (dialog == nullptr) Sleep(20);
  }
  if (dialog == nullptr) return;
  seen_ = true;
  act(dialog);
  const DWORD acted = GetTickCount();
  while (IsWindow(dialog)) {
    if (GetTickCount() - acted > 10000) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    Sleep(50);
  }
}

HWND waitForChild(HWND dialog, int id, int waitMs) {
  for (int waited = 0; waited < waitMs; waited += 20) {
    const HWND child = GetDlgItem(dialog, id);
    if (child != nullptr) return child;
    Sleep(20);
  }
  return nullptr;
}

void chooseFileName(HWND dialog, const std::string& text) {
  waitForChild(dialog, kFileNameBox);
  SetDlgItemTextA(dialog, kFileNameBox, text.c_str());
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

void chooseFilter(HWND dialog, int index) {
  const HWND filters = waitForChild(dialog, kFilterBox);
  SendMessageA(filters, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  // As a choice from the drop-down list ends: the dialog takes the filter
  // on the second.
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFilterBox, CBN_SELCHANGE), reinterpret_cast<LPARAM>(filters));
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFilterBox, CBN_SELENDOK), reinterpret_cast<LPARAM>(filters));
}

}  // namespace orva::test

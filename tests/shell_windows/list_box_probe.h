// What the play list tests look at and drive: the list box's rows against
// the play list, its selection, points on its rows, files with tags, and a
// second thread that works the common dialogs which the list's commands
// open while the test thread sits in their modal loop.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace orva::test {

// Opens the list part of the main window when the window starts without
// it (the default height holds only the controls); true when it shows.
bool showPlaylist();

// The list box has one row per entry and every row's item data is the
// entry at that position.
::testing::AssertionResult rowsFollowModel();
// The file names of the entries in list order.
std::vector<std::string> entryNames();
// The list box's selection, ascending.
std::vector<int> selectedRows();
void selectRows(const std::vector<int>& rows);
// The middle of a row in the list box's client area.
POINT rowCentre(int row);
LPARAM pointParam(POINT p);
// A point of the list box's client area in the main window's client area.
POINT inMainWindow(POINT listPoint);

// An MPEG file with an ID3v1 tag carrying `year` too.
std::string writeTaggedMpeg(const std::string& path, const std::string& title, const std::string& artist,
                            const std::string& year);
// Sets a file's last-write time to `day` days after 2000-01-01.
void setWriteDay(const std::string& path, int day);

// A top-level dialog of this process ("#32770") as it appears: `act` runs
// on a thread of its own once one is found within the wait; a dialog still
// open after that is cancelled, so that a failed step cannot hang the test.
class DialogDriver {
 public:
  explicit DialogDriver(std::function<void(HWND)> act, int waitMs = 10000);
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;
  // Waits for the thread; true when a dialog was seen.
  bool finish();

 private:
  void run(std::function<void(HWND)> act, int waitMs);
  std::atomic<bool> seen_{false};
  std::thread thread_;
};

// A child of `dialog` with `id` once it exists (null after the wait).
HWND waitForChild(HWND dialog, int id, int waitMs = 5000);
// Types `text` into the file name box of a file dialog and confirms.
void chooseFileName(HWND dialog, const std::string& text);
// Picks filter `index` (from 0) of a file dialog as the user would.
void chooseFilter(HWND dialog, int index);

}  // namespace orva::test

// The hourglass for work the user waits on (adding many files, sorting),
// back to the arrow when the scope ends.
#pragma once

#include <windows.h>

namespace orva {

class WaitCursor {
 public:
  WaitCursor() { SetCursor(LoadCursorA(nullptr, IDC_WAIT)); }
  ~WaitCursor() { SetCursor(LoadCursorA(nullptr, IDC_ARROW)); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace orva

// Facts about the system the program runs on, asked once where the core's
// rules differ by system.
#pragma once

#include <cstdint>

namespace orva::platform {

// True on Windows NT, where the engine refuses cue mode.
bool isWindowsNt();

// Whether code that runs while the process exits (after the host returned
// from main without shutting the engine down) may wait for the playback
// thread. On Linux the thread still runs then and can be stopped. On
// Windows an exiting process has already ended its other threads when a
// DLL's exit code runs, under the loader lock: waiting, joining or taking
// a lock the ended thread held would hang, so nothing may wait there.
bool exitMayWait();

}  // namespace orva::platform

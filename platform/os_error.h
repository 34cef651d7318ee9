// The operating system's reason for a failing engine operation. The code that
// calls the system (the wave devices, thread creation, file creation for
// playback) records the raw code and the name of the call that failed; the
// engine hands the sentence to its host next to the status sentence. This is
// the one place where MMRESULT, GetLastError, errno and ALSA codes become
// text.
//
// Threads: recorded by whichever thread saw the failure (the host's thread
// when playback starts), read by the host's thread; one lock guards it.
#pragma once

#include <cstdint>

namespace orva::platform {

enum class OsErrorKind : int32_t {
  None = 0,
  Errno = 1,     // a C library errno value
  Win32 = 2,     // a GetLastError value
  Mmresult = 3,  // a winmm MMRESULT
  Alsa = 4,      // a negative ALSA result
};

struct OsError {
  OsErrorKind kind = OsErrorKind::None;
  int32_t code = 0;
  const char* api = "";  // the call that failed; a string literal
};

// Keeps `error` as the last OS error (replacing the one before).
void recordOsError(OsErrorKind kind, int32_t code, const char* api);
// Keeps the calling thread's last system error (errno on POSIX,
// GetLastError on Windows) for the call `api` that just failed; nothing
// when that value is 0 (the call gave no system reason).
void recordLastSystemError(const char* api);
void clearOsError();
OsError lastOsError();

// The system's text for one code, without the call's name: never empty, a
// numbered fallback when the system has no text. Writes at most `size`
// bytes including the NUL, never splitting a double-byte character.
void osErrorText(OsErrorKind kind, int32_t code, char* buffer, int32_t size);

// "waveOutOpen failed: <text> (MMRESULT 32)." for `error`, or "" when its
// kind is None. Truncated like osErrorText; returns the bytes written
// before the NUL.
int32_t formatOsError(const OsError& error, char* buffer, int32_t size);

// The text of the C library's errno `code` and of a GetLastError value,
// each written into `buffer` (true) or nothing known (false). One
// implementation per platform (os_error_posix.cpp, os_error_win32.cpp).
bool systemErrnoText(int32_t code, char* buffer, int32_t size);
bool systemWin32Text(int32_t code, char* buffer, int32_t size);

}  // namespace orva::platform

// The last OS error and its sentence (see os_error.h). The winmm and ALSA
// codes are translated by tables here, so their text is the same on every
// platform (the virtual device can report either kind in tests); errno and
// GetLastError values go to the platform's own text functions.
#include "platform/os_error.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "platform/codepage.h"

namespace orva::platform {
namespace {

constexpr int32_t kSentenceBytes = 512;

struct CodeText {
  int32_t code;
  const char* name;
  const char* text;
};

// MMRESULT values of <mmsystem.h>: MMSYSERR_* from 0, WAVERR_* from 32.
constexpr CodeText kMmresultTexts[] = {
    {1, "MMSYSERR_ERROR", "Unspecified error"},
    {2, "MMSYSERR_BADDEVICEID", "The device id is out of range"},
    {3, "MMSYSERR_NOTENABLED", "The driver failed to enable"},
    {4, "MMSYSERR_ALLOCATED", "The device is already in use"},
    {5, "MMSYSERR_INVALHANDLE", "The device handle is not valid"},
    {6, "MMSYSERR_NODRIVER", "No device driver is present"},
    {7, "MMSYSERR_NOMEM", "The system is out of memory"},
    {8, "MMSYSERR_NOTSUPPORTED", "The function is not supported"},
    {9, "MMSYSERR_BADERRNUM", "The error number is out of range"},
    {10, "MMSYSERR_INVALFLAG", "A flag is not valid"},
    {11, "MMSYSERR_INVALPARAM", "A parameter is not valid"},
    {12, "MMSYSERR_HANDLEBUSY", "The handle is in use on another thread"},
    {20, "MMSYSERR_NODRIVERCB", "The driver does not call back"},
    {32, "WAVERR_BADFORMAT", "The device does not support this wave format"},
    {33, "WAVERR_STILLPLAYING", "The device is still playing"},
    {34, "WAVERR_UNPREPARED", "The header is not prepared"},
    {35, "WAVERR_SYNC", "The device is synchronous"},
};

// ALSA's own codes above its errno range (SND_ERROR_BEGIN is 500000).
constexpr CodeText kAlsaTexts[] = {
    {500000, "SND_ERROR_INCOMPATIBLE_VERSION", "The sound protocol is not compatible"},
    {500001, "SND_ERROR_ALISP_NIL", "The ALSA configuration evaluated to nothing"},
};

std::mutex gLock;
OsError gLast;

template <size_t N>
const CodeText* findCode(const CodeText (&table)[N], int32_t code) {
  for (const CodeText& entry : table) {
    if (entry.code == code) return &entry;
  }
  return nullptr;
}

// Copies `text` into `buffer`, cut whole characters short to fit; the bytes
// written before the NUL.
int32_t copyCut(const char* text, char* buffer, int32_t size) {
  if (buffer == nullptr || size <= 0) return 0;
  const char* end = text;
  while (*end != '\0') {
    const char* next = nextChar(end);
    if (next - text > size - 1) break;
    end = next;
  }
  const int32_t n = static_cast<int32_t>(end - text);
  std::memcpy(buffer, text, static_cast<size_t>(n));
  buffer[n] = '\0';
  return n;
}

void trimEnd(char* text) {
  size_t n = std::strlen(text);
  while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == '.')) {
    text[--n] = '\0';
  }
}

const char* kindLabel(OsErrorKind kind) {
  switch (kind) {
    case OsErrorKind::Errno: return "errno";
    case OsErrorKind::Win32: return "system error";
    case OsErrorKind::Mmresult: return "MMRESULT";
    case OsErrorKind::Alsa: return "ALSA error";
    default: return "error";
  }
}

void tableText(const CodeText* entry, char* buffer, int32_t size) {
  char text[kSentenceBytes];
  std::snprintf(text, sizeof text, "%s [%s]", entry->text, entry->name);
  copyCut(text, buffer, size);
}

}  // namespace

void recordOsError(OsErrorKind kind, int32_t code, const char* api) {
  std::lock_guard<std::mutex> lock(gLock);
  gLast = OsError{kind, code, api != nullptr ? api : ""};
}

void clearOsError() {
  std::lock_guard<std::mutex> lock(gLock);
  gLast = OsError{};
}

OsError lastOsError() {
  std::lock_guard<std::mutex> lock(gLock);
  return gLast;
}

void osErrorText(OsErrorKind kind, int32_t code, char* buffer, int32_t size) {
  if (buffer == nullptr || size <= 0) return;
  buffer[0] = '\0';
  bool known = false;
  if (kind == OsErrorKind::Mmresult) {
    if (const CodeText* entry = findCode(kMmresultTexts, code)) {
      tableText(entry, buffer, size);
      known = true;
    }
  } else if (kind == OsErrorKind::Alsa) {
    // Below its own range ALSA returns negated errno values.
    if (const CodeText* entry = findCode(kAlsaTexts, -code)) {
      tableText(entry, buffer, size);
      known = true;
    } else {
      known = code < 0 && systemErrnoText(-code, buffer, size);
    }
  } else if (kind == OsErrorKind::Errno) {
    known = systemErrnoText(code, buffer, size);
  } else if (kind == OsErrorKind::Win32) {
    known = systemWin32Text(code, buffer, size);
  }
  if (known) trimEnd(buffer);
  if (!known || buffer[0] == '\0') copyCut("Unknown error", buffer, size);
}

int32_t formatOsError(const OsError& error, char* buffer, int32_t size) {
  if (buffer == nullptr || size <= 0) return 0;
  buffer[0] = '\0';
  if (error.kind == OsErrorKind::None) return 0;
  char text[kSentenceBytes];
  osErrorText(error.kind, error.code, text, sizeof text);
  char sentence[kSentenceBytes + 128];
  std::snprintf(sentence, sizeof sentence, "%s failed: %s (%s %d).", error.api, text, kindLabel(error.kind),
                static_cast<int>(error.code));
  return copyCut(sentence, buffer, size);
}

}  // namespace orva::platform

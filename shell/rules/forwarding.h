// A second start of the program hands its command line to the running one
// in a WM_COPYDATA message and exits. The sender builds the payload here;
// the receiver checks it here before anything reads the text, because any
// process on the desktop can send WM_COPYDATA to our window. The window
// code turns CopyData into a COPYDATASTRUCT and back.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orva {

// The fields of COPYDATASTRUCT: dwData, cbData, lpData.
struct CopyData {
  uint64_t tag;
  uint32_t size;
  const void* data;
};

// dwData of a forwarded command line.
inline constexpr uint64_t kCommandLineTag = 0;
// Room for the longest command line Windows passes (32,767 characters) and
// its terminating NUL.
inline constexpr size_t kForwardedTextCapacity = 32768;

// The payload for `commandLine`: tag 0, size = length + 1 (the NUL travels
// with the text), data = the text itself. A null command line gives an empty
// payload (size 0), which a receiver refuses.
CopyData commandLinePayload(const char* commandLine);

// The receiver's check: the tag is kCommandLineTag, the data is there, and a
// NUL ends the text within `size` bytes. The text up to that NUL is copied
// into `out` (addArgumentString changes it in place, and the sender's
// memory is read-only to us). False, with nothing usable in `out`, when the
// payload is refused or the text and its NUL do not fit in `outSize`.
bool acceptForwardedText(const CopyData& payload, char* out, size_t outSize);

}  // namespace orva

// Preparing the 32 headers of a device at open, all or none: a device whose
// preparation fails part-way must not keep the headers it had prepared, or
// the driver holds on to them past the close. Shared by the winmm device and
// the virtual device, which fails on request to exercise this path.
#pragma once

#include <cstdint>

namespace orva {

// Calls prepare(0) .. prepare(count - 1) in order. When one returns false,
// calls unprepare on every header prepared before it, newest first, and
// returns the index that failed; -1 when all were prepared.
template <typename Prepare, typename Unprepare>
int32_t prepareAllOrNone(int32_t count, Prepare&& prepare, Unprepare&& unprepare) {
  for (int32_t i = 0; i < count; ++i) {
    if (prepare(i)) continue;
    for (int32_t k = i - 1; k >= 0; --k) unprepare(k);
    return i;
  }
  return -1;
}

}  // namespace orva

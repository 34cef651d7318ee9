// A sink for the fuzz harnesses: counts what a renderer writes and stops the
// run when it writes more than its input could justify.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "tags/byte_io.h"

namespace orva::fuzz {

struct CountingSink final : orva::ByteSink {
  int64_t limit;
  int64_t count = 0;
  explicit CountingSink(int64_t l) : limit(l) {}
  bool write(const void*, int64_t n) override {
    if (n < 0) std::abort();
    count += n;
    if (count > limit) std::abort();
    return true;
  }
};

}  // namespace orva::fuzz

// Storage of the status register (see status_register.h). Atomic because the playback
// and conversion threads report failures too.
#include "engine/status_register.h"

#include <atomic>

namespace orva {
namespace {

std::atomic<int32_t> statusCode{0};
std::atomic<int32_t> detail{0};

}  // namespace

void setStatus(int32_t code) { statusCode.store(code, std::memory_order_relaxed); }
int32_t status() { return statusCode.load(std::memory_order_relaxed); }
void setDetailCode(int32_t code) { detail.store(code, std::memory_order_relaxed); }
int32_t detailCode() { return detail.load(std::memory_order_relaxed); }

}  // namespace orva

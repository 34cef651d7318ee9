// Test-only fault injection for the file layer (see file.h). Unarmed it costs
// one relaxed atomic load per read or write.
#include "platform/file_faults.h"

#include <atomic>
#include <mutex>

#include "platform/file.h"

namespace orva::platform {
namespace {

std::atomic<bool> armed{false};
std::mutex lock;
FileFaultPlan plan;
int64_t reads = 0;
int64_t writes = 0;
int64_t bytesWritten = 0;

}  // namespace

void armFileFaultsForTests(const FileFaultPlan& newPlan) {
  std::lock_guard<std::mutex> guard(lock);
  plan = newPlan;
  reads = writes = bytesWritten = 0;
  armed.store(true);
}

void disarmFileFaultsForTests() { armed.store(false); }

int64_t fileReadsForTests() {
  std::lock_guard<std::mutex> guard(lock);
  return reads;
}

int64_t fileWritesForTests() {
  std::lock_guard<std::mutex> guard(lock);
  return writes;
}

namespace faults {

bool allowRead() {
  if (!armed.load(std::memory_order_relaxed)) return true;
  std::lock_guard<std::mutex> guard(lock);
  return ++reads != plan.failReadAt;
}

int64_t writeAllowance(int64_t size) {
  if (!armed.load(std::memory_order_relaxed)) return size;
  std::lock_guard<std::mutex> guard(lock);
  ++writes;
  if (writes == plan.failWriteAt) return -1;
  int64_t allowed = writes == plan.shortWriteAt ? size / 2 : size;
  if (plan.diskFullAfter >= 0) {
    int64_t room = plan.diskFullAfter - bytesWritten;
    if (room <= 0 && size > 0) return -1;
    if (allowed > room) allowed = room;
  }
  bytesWritten += allowed;
  return allowed;
}

bool allowReplace() { return !armed.load(std::memory_order_relaxed) || !plan.failReplace; }

}  // namespace faults
}  // namespace orva::platform

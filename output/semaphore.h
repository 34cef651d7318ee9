// The free-header semaphore of the output queue: a counting semaphore with a
// maximum, released by the device's completion path on any thread and waited
// on by the playback thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace orva {

class CountingSemaphore {
 public:
  void reset(int32_t count, int32_t maximum) {
    std::lock_guard<std::mutex> lock(mutex_);
    count_ = count;
    maximum_ = maximum;
  }
  void release() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (count_ < maximum_) ++count_;
    }
    changed_.notify_one();
  }
  void acquire() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return count_ > 0; });
    --count_;
  }
  int32_t count() {
    std::lock_guard<std::mutex> lock(mutex_);
    return count_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int32_t count_ = 0;
  int32_t maximum_ = 0;
};

}  // namespace orva

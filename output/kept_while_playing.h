// Storage for the process-wide records that a playback thread uses: the
// queue, the devices and the engine's playback record. A host may leave
// main while playback runs, without shutting the engine down, and the
// records' destructors then run while the thread may still use them (on
// Windows the system has even ended the thread, perhaps holding their
// locks). So a record is destroyed at exit only when no playback thread is
// counted as running; otherwise it is kept, and its memory stays valid until
// the system ends the process. After a shutdown, or when the library is
// unloaded with nothing playing, everything is freed as usual.
// A reference bound to `value` is constant-initialized, so other files may
// use it from the start.
#pragma once

#include <atomic>
#include <cstdint>
#include <utility>

namespace orva {

// Playback threads that may still use the records; the engine counts each
// thread in before it starts and out when its work is done.
inline std::atomic<int32_t>& playbackThreadsRunning() {
  static std::atomic<int32_t> running{0};
  return running;
}

template <typename T>
union KeptWhilePlaying {
  T value;

  template <typename... Args>
  explicit KeptWhilePlaying(Args&&... args) : value(std::forward<Args>(args)...) {}
  KeptWhilePlaying(const KeptWhilePlaying&) = delete;
  KeptWhilePlaying& operator=(const KeptWhilePlaying&) = delete;
  ~KeptWhilePlaying() {
    if (playbackThreadsRunning().load() == 0) value.~T();
  }

  T& get() { return value; }
};

}  // namespace orva

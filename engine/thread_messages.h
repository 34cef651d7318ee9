// The playback thread's message queue. The host's thread posts transport
// requests; the playback thread takes them between two frames. The queue is
// the engine's own, so a message posted right after the start of playback,
// before the thread runs, waits for it instead of being lost. A poster may
// wait (at most a bound) until its message has been handled; handling is in
// posting order, so one counter of handled tickets serves every waiter.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

namespace orva {

// The numbers of the thread messages.
enum EngineMessageId : int32_t {
  MSG_ENGINE_STOP = 0x8000,
  MSG_ENGINE_NOTHING = 0x8001,
  MSG_ENGINE_PAUSE = 0x8002,
  MSG_ENGINE_RESUME = 0x8003,
  MSG_ENGINE_SEEK = 0x8004,
  MSG_ENGINE_EQUALIZER = 0x8005,
};

struct EngineMessage {
  int32_t id = MSG_ENGINE_NOTHING;
  int64_t value = 0;       // seek target in samples
  int32_t hasBands = 0;    // equalizer: 0 switches it off
  int32_t bands[10] = {};  // equalizer band values, copied at posting
  uint64_t ticket = 0;
};

class EngineMessageQueue {
 public:
  // Starts taking messages (before the thread is created).
  void open();
  // Stops taking messages and marks every queued one handled, unhandled.
  void closeAndDiscard();
  bool isOpen();

  // Queues `message`; its ticket, or 0 when no thread takes messages.
  uint64_t post(EngineMessage message);
  // True once the message with `ticket` was handled (or discarded).
  bool waitHandled(uint64_t ticket, int32_t milliseconds);

  bool take(EngineMessage& message);  // without waiting
  void waitTake(EngineMessage& message);
  void markHandled(const EngineMessage& message);

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<EngineMessage> queue_;
  bool open_ = false;
  uint64_t nextTicket_ = 0;
  uint64_t handled_ = 0;
};

}  // namespace orva

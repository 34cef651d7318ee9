// The playback thread's message queue (see thread_messages.h).
#include "engine/thread_messages.h"

#include <chrono>

namespace orva {

void EngineMessageQueue::open() {
  std::lock_guard<std::mutex> lock(mutex_);
  open_ = true;
}

void EngineMessageQueue::closeAndDiscard() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = false;
    queue_.clear();
    handled_ = nextTicket_;
  }
  changed_.notify_all();
}

bool EngineMessageQueue::isOpen() {
  std::lock_guard<std::mutex> lock(mutex_);
  return open_;
}

uint64_t EngineMessageQueue::post(EngineMessage message) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return 0;
    message.ticket = ++nextTicket_;
    queue_.push_back(message);
  }
  changed_.notify_all();
  return message.ticket;
}

bool EngineMessageQueue::waitHandled(uint64_t ticket, int32_t milliseconds) {
  std::unique_lock<std::mutex> lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return handled_ >= ticket; });
}

bool EngineMessageQueue::take(EngineMessage& message) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (queue_.empty()) return false;
  message = queue_.front();
  queue_.pop_front();
  return true;
}

void EngineMessageQueue::waitTake(EngineMessage& message) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return !queue_.empty(); });
  message = queue_.front();
  queue_.pop_front();
}

void EngineMessageQueue::markHandled(const EngineMessage& message) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (message.ticket > handled_) handled_ = message.ticket;
  }
  changed_.notify_all();
}

}  // namespace orva

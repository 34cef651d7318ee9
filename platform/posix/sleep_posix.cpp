#include <chrono>
#include <thread>

#include "platform/sleep.h"

namespace orva::platform {

void sleepMs(int32_t milliseconds) {
  if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace orva::platform

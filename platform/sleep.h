// Sleeping the calling thread.
#pragma once

#include <cstdint>

namespace orva::platform {

void sleepMs(int32_t milliseconds);

}  // namespace orva::platform

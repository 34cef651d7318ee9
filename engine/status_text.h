// Readable English sentences for the engine's status codes, for the command
// line host and for test messages.
#pragma once

#include <cstdint>

namespace orva {

// Never null; codes that do not exist get a sentence saying so.
const char* statusText(int32_t status);

}  // namespace orva

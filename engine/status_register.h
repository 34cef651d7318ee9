// The engine's process-wide status code and detail code. Every failing call
// sets the status; nothing clears it. The code below the engine (decoder,
// tags, output) returns its failures; only the engine writes the register.
#pragma once

#include <cstdint>

namespace orva {

void setStatus(int32_t code);
int32_t status();
void setDetailCode(int32_t code);
int32_t detailCode();

}  // namespace orva

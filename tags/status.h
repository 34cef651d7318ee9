// The engine's process-wide status code and detail code. Every failing call
// sets the status; nothing clears it. The tag code lives below the engine in
// the link order, so the register is kept here and the engine uses it.
#pragma once

#include <cstdint>

namespace orva {

void setStatus(int32_t code);
int32_t status();
void setDetailCode(int32_t code);
int32_t detailCode();

}  // namespace orva

// Opening and closing the engine's stream: tags taken off, RIFF chunks
// walked, the first MPEG frame found and parsed, durations computed.
// Called by the entry points on the host's window thread.
#pragma once

#include <cstdint>

#include "orva_engine.h"

namespace orva {

// Both return ENGINE_OK or the status code of the failure. A failed open
// leaves no file open.
int32_t openStream(const char* path, StreamInfo& info);
int32_t closeStream();

}  // namespace orva

// What the engine tells about the open stream: the file information record,
// the total sample count, the bit rate.
#pragma once

#include <cstdint>

#include "orva_engine.h"

namespace orva {

// ENGINE_OK, or ENGINE_ERR_NOT_OPEN when no file is open.
int32_t fillHeaderInfo(FileInfo& info);
int32_t totalSamples();
int32_t currentKbps();

}  // namespace orva

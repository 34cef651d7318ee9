// The ID3v1 tag of the open file and genre names, as the engine hands them
// out through its interface.
#pragma once

#include <cstdint>

#include "orva_engine.h"

namespace orva {

// Both return ENGINE_OK or the status code of the failure.
int32_t copyOpenFileTag(Id3v1Record& tag);
int32_t fillGenreName(Id3v1Record& tag);

// After the host wrote a tag and asked for it: the 128 bytes written become
// the open file's tag.
void refreshOpenFileTag(const uint8_t* tag128);

}  // namespace orva

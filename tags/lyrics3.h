// Lyrics3 v2 blocks: the block that sits directly in front of the ID3v1 tag.
#pragma once

#include <cstdint>

#include "platform/file.h"
#include "tags/byte_io.h"

namespace orva {

// 1 and the block's total length (size field + 15) when a block ends just
// before the ID3v1 tag (or at the end of a file without one); else 0 and 0.
// A size field that is not six digits, or that claims more than the file
// holds in front of the end marker's end, is no block.
int32_t findLyrics3(platform::File& file, int64_t& length);
int32_t findLyrics3(ByteSource& source, int64_t& length);

}  // namespace orva

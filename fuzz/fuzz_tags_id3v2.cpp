// Fuzz target: the ID3v2 reader over arbitrary bytes, both over memory and
// through the file reader that skips large frames. It must stay inside the
// bytes, a tag it reads must state at least its own header, and both ways
// must find the same title.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "tags/byte_io.h"
#include "tags/id3v2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orva::Id3v2Texts inMemory;
  const bool parsed = orva::parseId3v2(std::span<const uint8_t>(data, size), inMemory);
  if (parsed && inMemory.tagBytes < orva::kId3v2HeaderSize) std::abort();
  orva::MemorySource source(data, static_cast<int64_t>(size));
  orva::Id3v2Texts fromSource;
  if (orva::readId3v2(source, 0, fromSource) != parsed) std::abort();
  // Small tags are read whole, so the two readings agree.
  if (parsed && size <= 64 * 1024 && fromSource.title != inMemory.title) std::abort();
  return 0;
}

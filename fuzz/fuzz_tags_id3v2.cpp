// Fuzz target: the ID3v2 reader over arbitrary bytes. It must stay inside
// them, and a tag it reads must state at least its own header.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "tags/id3v2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orva::Id3v2Texts texts;
  if (orva::parseId3v2(std::span<const uint8_t>(data, size), texts) && texts.tagBytes < orva::kId3v2HeaderSize) {
    std::abort();
  }
  return 0;
}

// Fuzz target: the RIFF chunk walk and the two tag writers' renderers over
// arbitrary file images. The writers' output only goes to a counting sink
// that checks it never grows past what the input can justify.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/counting_sink.h"
#include "tags/byte_io.h"
#include "tags/id3v1.h"
#include "tags/id3v1_file.h"
#include "tags/info_writer.h"
#include "tags/riff_walk.h"

namespace {

using orva::fuzz::CountingSink;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const auto length = static_cast<int64_t>(size);
  orva::MemorySource source(data, length);

  orva::InfoText info;
  orva::RiffWalk walk;
  int64_t start = 0;
  int64_t audio = length;
  if (orva::walkRiffChunks(source, info, start, audio, walk) == ENGINE_OK) {
    if (start < 0 || audio < 0 || start > length || audio > length - start) std::abort();
  }
  for (const auto& slot : info.slots) {
    bool terminated = false;
    for (char c : slot) terminated = terminated || c == '\0';
    if (!terminated) std::abort();
  }

  // Output: the old bytes (Lyrics3 copy included), a LIST chunk and a tag.
  const int64_t limit = 2 * length + 4096;
  uint8_t tag[orva::kId3v1Size];
  orva::makeBlankTag(tag);
  CountingSink id3Out(limit);
  orva::renderId3v1Rewrite(source, tag, static_cast<int32_t>(size & 1), static_cast<int32_t>(size % 3), id3Out);
  CountingSink infoOut(limit);
  orva::renderInfoRewrite(source, info, static_cast<int32_t>(size % 3), nullptr, infoOut);
  return 0;
}

// Fuzz target: the file information read, the tag layout probe, the
// extended INFO reader and every rewrite renderer (INFO, Lyrics3, the
// conversions) over arbitrary file images. Output goes to a counting sink
// that checks it never grows past what the input can justify.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "fuzz/counting_sink.h"
#include "tags/byte_io.h"
#include "tags/convert.h"
#include "tags/file_info.h"
#include "tags/info_writer.h"
#include "tags/lyrics3.h"
#include "tags/riff_walk.h"

namespace {

using orva::fuzz::CountingSink;

void checkTerminated(const char* slots, int count, size_t slotSize) {
  for (int i = 0; i < count; ++i) {
    if (std::memchr(slots + i * slotSize, 0, slotSize) == nullptr) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const auto length = static_cast<int64_t>(size);
  orva::MemorySource source(data, length);

  Id3v1Record tag;
  FileInfo info;
  InfoText text;
  int32_t flags = 0;
  if (orva::readFileInfoFrom(source, &tag, &info, &text, &flags) == ENGINE_OK) {
    if (info.fileSize != length || info.frames < 0 || info.seconds < 0 || flags < 0 || flags > 63) std::abort();
  }
  checkTerminated(&text.slots[0][0], 14, 128);
  int32_t layout = orva::probeTagLayoutFrom(source);
  if (layout < -1 || layout > 63) std::abort();

  auto longText = std::make_unique<InfoTextLong>();
  orva::readInfoLongFrom(source, *longText);
  checkTerminated(&longText->slots[0][0], 17, 2048);

  // Each output is the old bytes once, a header, a LIST chunk of at most the
  // extended text and a new Lyrics3 block.
  const int64_t limit = length + 17 * 2060 + orva::kLyrics3MaxBlock + 1024;
  const int32_t placement = static_cast<int32_t>(size % 3);
  CountingSink a(limit), b(limit), c(limit), d(limit), e(limit), f(limit), g(limit);
  orva::renderInfoLongRewrite(source, *longText, placement, a);
  orva::renderToRiff(source, (size & 1) != 0, placement, b);
  orva::renderToMpeg(source, c);
  orva::renderWithoutLeadingHeader(source, d);
  orva::renderLyrics3Rewrite(source, nullptr, placement, e);
  auto fields = std::make_unique<Lyrics3Fields>();
  std::memset(fields.get(), 0, sizeof *fields);
  std::memcpy(fields->lyrics, data, size < 1000 ? size : 1000);
  orva::renderLyrics3Rewrite(source, fields.get(), placement, f);
  orva::renderInfoRewrite(source, text, placement, nullptr, g);
  return 0;
}

// Fuzz target: the ID3v1 parsers and readers, the ID3v2 skip and the Lyrics3
// finder over arbitrary bytes, with a parse-render-parse consistency check.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "tags/byte_io.h"
#include "tags/id3v1.h"
#include "tags/lyrics3.h"

namespace {

void checkRoundTrip(const uint8_t* tag128) {
  Id3v1Record first;
  if (!orva::parseId3v1(tag128, first)) return;
  uint8_t again[orva::kId3v1Size];
  Id3v1Record copy = first;
  orva::renderId3v1(copy, again);
  Id3v1Record second;
  if (!orva::parseId3v1(again, second)) std::abort();
  if (std::strcmp(first.title, second.title) != 0 || std::strcmp(first.artist, second.artist) != 0 ||
      std::strcmp(first.album, second.album) != 0 || std::strcmp(first.year, second.year) != 0 ||
      std::strcmp(first.comment, second.comment) != 0 || first.genre != second.genre)
    std::abort();
  Id3v11Record withTrack;
  orva::parseId3v11(tag128, withTrack);
  if (withTrack.track < -1 || withTrack.track > 255) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const auto length = static_cast<int64_t>(size);
  orva::MemorySource source(data, length);

  if (size >= 128) checkRoundTrip(data + size - 128);
  Id3v1Record tag{};
  orva::readId3v1(source, tag);
  Id3v11Record tag11{};
  orva::readId3v11(source, tag11);

  int64_t offset = 0;
  if (orva::skipId3v2Header(source, offset) && (offset <= 0 || offset > length)) std::abort();
  int64_t lyrics = 0;
  if (orva::findLyrics3(source, lyrics) && (lyrics < 15 || lyrics > length)) std::abort();
  if (size >= 30) {
    char text[31];
    orva::trimTagText(text, reinterpret_cast<const char*>(data));
    if (std::strlen(text) > 30) std::abort();
  }
  return 0;
}

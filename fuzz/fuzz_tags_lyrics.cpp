// Fuzz target: the Lyrics3 reader and parser, the time-stamp and segment
// parsers, both lyric loaders, the lookups and the lyrics file filter over
// arbitrary bytes, with a parse-render-parse check on Lyrics3 fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "tags/byte_io.h"
#include "tags/lyric_lines.h"
#include "tags/lyrics3.h"
#include "tags/lyrics_file.h"

namespace {

size_t bounded(const char* slot, size_t size) {
  size_t n = 0;
  while (n < size && slot[n] != '\0') ++n;
  return n;
}

void checkRenderRoundTrip(const Lyrics3Fields& fields) {
  static std::vector<uint8_t> block(orva::kLyrics3MaxBlock);
  int64_t n = orva::renderLyrics3(fields, block.data());
  if (n < orva::kLyrics3EmptyBlock || n > orva::kLyrics3MaxBlock) std::abort();
  orva::MemorySource src(block.data(), n);
  int64_t found = 0;
  if (!orva::findLyrics3(src, found) || found != n) std::abort();
  auto again = std::make_unique<Lyrics3Fields>();
  if (!orva::parseLyrics3(block.data(), n - orva::kLyrics3Trailer, *again)) std::abort();
  // Texts come back up to their first NUL with trailing blanks cut.
  size_t a = bounded(fields.author, sizeof fields.author);
  while (a > 0 && fields.author[a - 1] == ' ') --a;
  if (bounded(again->author, sizeof again->author) != a) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 20)) return 0;
  const auto length = static_cast<int64_t>(size);
  orva::MemorySource source(data, length);
  const char* text = reinterpret_cast<const char*>(data);

  auto fields = std::make_unique<Lyrics3Fields>();
  int32_t failure = 0;
  orva::readLyrics3(source, *fields, failure);
  if (orva::parseLyrics3(data, length, *fields)) checkRenderRoundTrip(*fields);

  int32_t ms = 0;
  int32_t stamp = orva::parseTimeStamp(text, static_cast<int32_t>(size < 64 ? size : 64), ms);
  if (stamp > 64 || (stamp > 0 && ms < 0)) std::abort();
  orva::TimedSegment piece{};
  const auto line = static_cast<int32_t>(size < 1024 ? size : 1024);
  for (bool multi : {false, true}) {
    int32_t r = orva::splitTimedSegment(text, line, multi, piece);
    if (piece.textOffset < 0 || piece.textLength < 0 || piece.textOffset + piece.textLength > line) std::abort();
    if (r == 1 && (piece.advance <= 0 || piece.advance > line)) std::abort();
  }

  static orva::LyricList list;
  const bool multiStamp = (size & 1) != 0;
  orva::fillLyricsFromText(list, source, multiStamp);
  orva::fillLyricsFromLyrics3(list, source, multiStamp);
  if (list.count > orva::kMaxLyricLines) std::abort();
  LyricWindow window;
  LyricLineWindow lineWindow;
  for (double at : {0.0, 1500.0, 60000.0, 1e9}) {
    orva::lyricWindowAt(list, at, window);
    orva::lyricLineWindowAt(list, at, lineWindow);
    if (std::strlen(window.current) > 127 || std::strlen(lineWindow.currentLine) > 127) std::abort();
  }

  std::vector<uint8_t> filtered(2 * size + 1);
  if (orva::filterLyricsText(data, length, filtered.data()) > 2 * length) std::abort();
  return 0;
}

// Preparing the lyrics text file beside an audio file. The filtered text is
// loaded straight from memory: no temporary file, so two instances cannot
// race over one name and nothing is left behind.
#include "tags/lyrics_file.h"

#include <cstring>
#include <memory>
#include <new>

#include "platform/codepage.h"
#include "platform/file.h"
#include "tags/lyric_lines.h"

namespace orva {

std::string lyricsPathFor(const char* audioPath) {
  if (audioPath == nullptr) return std::string();
  // Step whole characters: a cp932 trail byte may be 0x5C or 0x2E.
  const char* dot = nullptr;
  for (const char* p = audioPath; *p != '\0'; p = platform::nextChar(p)) {
    if (*p == '\\' || *p == '/') dot = nullptr;
    if (*p == '.') dot = p;
  }
  std::string path(audioPath, dot != nullptr ? static_cast<size_t>(dot - audioPath) : std::strlen(audioPath));
  if (dot != nullptr) path += ".txt";
  return path;
}

namespace {

// The length of the character at `i`: two bytes for a lead byte of the
// active code page with its trail byte inside the line, so that a trail
// byte is never read as '[' or ']' (0x5B and 0x5D are cp932 trail bytes,
// as in "ー").
int64_t charLength(const uint8_t* text, int64_t i, int64_t stop) {
  return platform::isLeadByte(text[i]) && i + 1 < stop ? 2 : 1;
}

}  // namespace

int64_t filterLyricsText(const uint8_t* text, int64_t length, uint8_t* out) {
  int64_t written = 0;
  int64_t start = 0;
  for (int64_t end = 0; end < length; ++end) {
    if (text[end] != '\n') continue;
    int64_t stop = end;
    if (stop > start && text[stop - 1] == '\r') --stop;
    int64_t i = start;
    auto copyChar = [&] {
      for (int64_t n = charLength(text, i, stop); n > 0; --n) out[written++] = text[i++];
    };
    // Up to and including the first ']'.
    while (i < stop && text[i] != ']') copyChar();
    if (i < stop) out[written++] = text[i++];
    // Behind it, every "[...]" span goes; an unclosed '[' ends the line.
    while (i < stop) {
      if (text[i] != '[') {
        copyChar();
        continue;
      }
      while (i < stop && text[i] != ']') i += charLength(text, i, stop);
      if (i >= stop) break;
      ++i;
    }
    out[written++] = '\r';
    out[written++] = '\n';
    start = end + 1;
  }
  return written;
}

bool prepareLyricsFile(LyricList& list, const char* lyricsPath, bool multiStamp) {
  platform::File file;
  if (lyricsPath == nullptr || !file.open(lyricsPath, platform::FileMode::Read)) return false;
  int64_t size = file.size();
  if (size <= 0 || size > kMaxLyricsFileSize) return false;
  std::unique_ptr<uint8_t[]> text(new (std::nothrow) uint8_t[static_cast<size_t>(size)]);
  std::unique_ptr<uint8_t[]> filtered(new (std::nothrow) uint8_t[static_cast<size_t>(2 * size)]);
  if (!text || !filtered || !file.readAt(0, text.get(), size)) return false;
  file.close();
  int64_t length = filterLyricsText(text.get(), size, filtered.get());
  MemorySource source(filtered.get(), length);
  fillLyricsFromText(list, source, multiStamp);
  return true;
}

}  // namespace orva

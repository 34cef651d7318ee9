// Timed lyric lines: parsing "[m:ss:fff]" stamps, cutting lines into timed
// segments, the list both loaders fill, and the lookups around a position.
#include "tags/lyric_lines.h"

#include <cstring>
#include <memory>
#include <new>

#include "platform/codepage.h"
#include "platform/file.h"
#include "tags/lyrics3.h"

namespace orva {
namespace {

constexpr int32_t kLineBytes = 127;
constexpr int32_t kMultiLineBytes = 1023;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// cp932 lead bytes; lyrics texts are cp932 whatever the host's code page.
bool isCp932Lead(uint8_t c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Length of at most `limit` bytes of `text` without splitting a character.
int32_t cutCp932(const char* text, int32_t length, int32_t limit) {
  if (length <= limit) return length;
  int32_t n = 0;
  while (n < limit) {
    int32_t step = isCp932Lead(static_cast<uint8_t>(text[n])) ? 2 : 1;
    if (n + step > limit) break;
    n += step;
  }
  return n;
}

void copyText(char (&to)[128], const char* text, int32_t length) {
  int32_t n = cutCp932(text, length, kLineBytes);
  std::memcpy(to, text, static_cast<size_t>(n));
  to[n] = '\0';
}

// Reads up to `maxDigits` digits; the count read, 0 when none, -1 at the end.
int32_t stampDigits(const char* text, int32_t length, int32_t& pos, int32_t maxDigits, int32_t& value) {
  value = 0;
  int32_t n = 0;
  while (n < maxDigits && pos < length && text[pos] != '\0' && isDigit(text[pos])) {
    value = value * 10 + (text[pos] - '0');
    ++pos;
    ++n;
  }
  if (pos >= length || text[pos] == '\0') return -1;
  return n;
}

bool addLine(LyricList& list, int32_t timeMs, int32_t segment, int32_t timed, const char* text, int32_t length) {
  if (list.count >= kMaxLyricLines) return false;
  LyricLine& line = list.lines[list.count++];
  line.timeMs = timeMs;
  line.sourceLine = list.textLine;
  line.segment = segment;
  line.timed = timed;
  copyText(line.text, text, length);
  return true;
}

// One text line into entries; false once the list is full.
bool addTextLine(LyricList& list, const char* text, int32_t length, bool multiStamp) {
  int32_t segment = 0;
  int32_t pos = 0;
  // Every piece advances by at least one stamp, so this ends.
  while (pos < length) {
    TimedSegment piece{};
    int32_t r = splitTimedSegment(text + pos, length - pos, multiStamp, piece);
    if (r < 0) {
      if (pos == 0 && list.count > 0) {
        int32_t previous = list.lines[list.count - 1].timeMs;
        if (!addLine(list, previous, ++segment, 0, text, length)) return false;
      }
      break;
    }
    if (!addLine(list, piece.timeMs, ++segment, 1, text + pos + piece.textOffset, piece.textLength)) return false;
    if (r == 0 || piece.advance <= 0) break;
    pos += piece.advance;
  }
  if (segment > 0) ++list.textLine;
  return list.count < kMaxLyricLines;
}

// Lines of a text file as a text-mode reader gives them: CR LF read as LF,
// each line at most `capacity` bytes, keeping its LF when it fits.
class TextLines {
 public:
  explicit TextLines(ByteSource& source) : source_(source), size_(source.size()) {}

  bool next(char* line, int32_t capacity, int32_t& length) {
    length = 0;
    int c = 0;
    while (length < capacity && (c = get()) >= 0) {
      if (c == '\r' && peek() == '\n') c = get();
      line[length++] = static_cast<char>(c);
      if (c == '\n') break;
    }
    if (length == 0) return false;
    // A NUL ends the text of a line.
    int32_t n = 0;
    while (n < length && line[n] != '\0') ++n;
    length = n;
    return true;
  }

 private:
  int peek() {
    if (at_ == filled_ && !refill()) return -1;
    return buffer_[at_];
  }
  int get() {
    int c = peek();
    if (c >= 0) ++at_;
    return c;
  }
  bool refill() {
    if (size_ < 0 || offset_ >= size_) return false;
    int64_t n = size_ - offset_ < kBlock ? size_ - offset_ : kBlock;
    if (!source_.readAt(offset_, buffer_, n)) return false;
    offset_ += n;
    filled_ = static_cast<int32_t>(n);
    at_ = 0;
    return true;
  }

  static constexpr int64_t kBlock = 4096;
  ByteSource& source_;
  int64_t size_;
  int64_t offset_ = 0;
  uint8_t buffer_[kBlock];
  int32_t filled_ = 0;
  int32_t at_ = 0;
};

// Appends `text` to a 128-byte window text, cut to 127 bytes.
void joinText(char (&to)[128], const char* text) {
  int32_t used = static_cast<int32_t>(std::strlen(to));
  int32_t n = static_cast<int32_t>(std::strlen(text));
  int32_t room = kLineBytes - used;
  n = cutCp932(text, n, room);
  std::memcpy(to + used, text, static_cast<size_t>(n));
  to[used + n] = '\0';
}

// The current entry for a position; -1 when there is none.
int32_t currentEntry(const LyricList& list, double positionMs) {
  if (list.count == 0) return -1;
  for (int32_t i = 0; i < list.count; ++i) {
    if (list.lines[i].timeMs > positionMs) {
      int32_t current = i - 1;
      while (current >= 0 && list.lines[current].timed == 0) --current;
      return current;
    }
  }
  return list.count - 1;
}

const char* entryText(const LyricList& list, int32_t index) {
  return index >= 0 && index < list.count ? list.lines[index].text : "";
}

void copyEntryText(char (&to)[128], const LyricList& list, int32_t index) {
  const char* text = entryText(list, index);
  copyText(to, text, static_cast<int32_t>(std::strlen(text)));
}

}  // namespace

int32_t parseTimeStamp(const char* text, int32_t length, int32_t& timeMs) {
  timeMs = 0;
  if (length <= 0 || text[0] == '\0') return -1;
  if (text[0] != '[') return 0;
  int32_t pos = 1;
  int32_t minutes = 0;
  int32_t seconds = 0;
  int32_t fraction = 0;
  int32_t n = stampDigits(text, length, pos, 2, minutes);
  if (n < 0) return -1;
  if (n == 0 || text[pos] != ':') return 0;
  ++pos;
  n = stampDigits(text, length, pos, 2, seconds);
  if (n < 0) return -1;
  if (n == 0) return 0;
  if (text[pos] == ':') {
    ++pos;
    n = stampDigits(text, length, pos, 3, fraction);
    if (n < 0) return -1;
    if (n == 0) return 0;
    for (int32_t i = n; i < 3; ++i) fraction *= 10;  // "5" is 500 ms, "25" 250
  }
  if (text[pos] != ']') return 0;
  timeMs = minutes * 60000 + seconds * 1000 + fraction;
  return pos + 1;
}

int32_t splitTimedSegment(const char* line, int32_t length, bool multiStamp, TimedSegment& out) {
  out = TimedSegment{};
  if (length <= 0 || line[0] == '\0') return -1;
  int32_t stampTime = 0;
  int32_t stamp = parseTimeStamp(line, length, stampTime);
  int32_t from = stamp > 0 ? stamp : 0;
  // With several stamps per line, the next '[' that starts a valid stamp
  // ends this piece.
  int32_t nextStamp = -1;
  if (multiStamp) {
    // Whole characters: a trail byte 0x5B is no '['.
    for (int32_t i = from > 0 ? from : 1; i < length;) {
      int32_t ignored = 0;
      if (line[i] == '[' && parseTimeStamp(line + i, length - i, ignored) > 0) {
        nextStamp = i;
        break;
      }
      i += platform::isLeadByte(static_cast<unsigned char>(line[i])) && i + 1 < length ? 2 : 1;
    }
  }
  if (stamp > 0) {
    out.timeMs = stampTime;
    out.textOffset = stamp;
    if (nextStamp < 0) {
      out.textLength = length - stamp;
      return 0;
    }
    out.textLength = nextStamp - stamp;
    out.advance = nextStamp;
    return 1;
  }
  if (nextStamp > 0) {
    out.textLength = nextStamp;
    out.advance = nextStamp;
    return 1;
  }
  out.textLength = length;
  return -1;
}

void clearLyricLines(LyricList& list) {
  list.count = 0;
  list.textLine = 0;
}

void fillLyricsFromText(LyricList& list, ByteSource& text, bool multiStamp) {
  clearLyricLines(list);
  TextLines lines(text);
  char line[kMultiLineBytes + 1];
  int32_t capacity = multiStamp ? kMultiLineBytes : kLineBytes;
  int32_t length = 0;
  while (lines.next(line, capacity, length)) {
    if (!addTextLine(list, line, length, multiStamp)) break;
  }
}

int32_t fillLyricsFromTextFile(LyricList& list, const char* path, bool multiStamp) {
  clearLyricLines(list);
  if (path == nullptr || path[0] == '\0') return ENGINE_OK;
  platform::File file;
  if (!file.open(path, platform::FileMode::Read)) return ENGINE_ERR_LYRICS_OPEN;
  FileSource source(file);
  fillLyricsFromText(list, source, multiStamp);
  return ENGINE_OK;
}

int32_t fillLyricsFromLyrics3(LyricList& list, ByteSource& source, bool multiStamp) {
  clearLyricLines(list);
  std::unique_ptr<Lyrics3Fields> fields(new (std::nothrow) Lyrics3Fields);
  if (!fields) return ENGINE_ERR_MEMORY;
  int32_t failure = 0;
  if (!readLyrics3(source, *fields, failure)) return failure != 0 ? failure : kNoLyrics;
  const char* lyr = fields->lyrics;
  int32_t size = 0;
  while (size < static_cast<int32_t>(sizeof fields->lyrics) && lyr[size] != '\0') ++size;
  if (size == 0) return kNoLyrics;
  int32_t limit = multiStamp ? kMultiLineBytes : kLineBytes;
  int32_t pos = 0;
  while (pos < size) {
    int32_t end = pos;
    while (end < size && lyr[end] != '\r' && lyr[end] != '\n') ++end;
    if (!addTextLine(list, lyr + pos, cutCp932(lyr + pos, end - pos, limit), multiStamp)) break;
    // A pair of any two line-break characters is one break.
    pos = end + 1;
    if (pos < size && (lyr[pos] == '\r' || lyr[pos] == '\n')) ++pos;
  }
  return ENGINE_OK;
}

double lyricPositionMs(double positionSeconds, double measuredSeconds, double nominalSeconds,
                       bool useMeasuredDuration) {
  double chosen = useMeasuredDuration ? measuredSeconds : nominalSeconds;
  // Without a measured duration there is nothing to scale by.
  double scale = measuredSeconds > 0 ? chosen / measuredSeconds : 1.0;
  return positionSeconds * scale * 1000.0;
}

int32_t lyricWindowAt(const LyricList& list, double positionMs, LyricWindow& window) {
  std::memset(&window, 0, sizeof window);
  int32_t current = currentEntry(list, positionMs);
  if (current < 0) return ENGINE_ERR_NO_LYRIC;
  window.timeMs = list.lines[current].timeMs;
  copyEntryText(window.next2, list, current + 2);
  copyEntryText(window.next1, list, current + 1);
  copyEntryText(window.current, list, current);
  copyEntryText(window.previous1, list, current - 1);
  copyEntryText(window.previous2, list, current - 2);
  return ENGINE_OK;
}

int32_t lyricLineWindowAt(const LyricList& list, double positionMs, LyricLineWindow& window) {
  std::memset(&window, 0, sizeof window);
  int32_t current = currentEntry(list, positionMs);
  if (current < 0) return ENGINE_ERR_NO_LYRIC;
  const LyricLine& now = list.lines[current];
  window.timeMs = now.timeMs;
  window.sourceLine = now.sourceLine;
  window.segment = now.segment;
  // Milliseconds until the next entry's time.
  if (current + 1 < list.count) window.timeToNext = list.lines[current + 1].timeMs - now.timeMs;
  joinText(window.currentSegment, now.text);
  for (int32_t i = 0; i < list.count; ++i) {
    const LyricLine& e = list.lines[i];
    int32_t delta = e.sourceLine - now.sourceLine;
    if (delta == 2) joinText(window.lineAfterNext, e.text);
    if (delta == 1) joinText(window.nextLine, e.text);
    if (delta == -1) joinText(window.previousLine, e.text);
    if (delta == -2) joinText(window.lineBeforePrevious, e.text);
    if (delta != 0) continue;
    if (e.segment < now.segment) joinText(window.segmentsBefore, e.text);
    if (e.segment <= now.segment) joinText(window.segmentsUpToCurrent, e.text);
    joinText(window.currentLine, e.text);
  }
  return ENGINE_OK;
}

}  // namespace orva

// Timed lyrics: the time-stamp syntax, a list of lyric lines with its two
// loaders (a text file, a Lyrics3 block), and the lookups of the lines around
// a play position. The engine owns the one list it hands out and its options;
// it checks the engine state and computes the position.
#pragma once

#include <cstdint>

#include "orva_engine.h"
#include "tags/byte_io.h"

namespace orva {

inline constexpr int32_t kMaxLyricLines = 1000;

struct LyricLine {
  int32_t timeMs;
  int32_t sourceLine;  // text line it came from, from 0
  int32_t segment;     // 1-based number within its text line
  int32_t timed;       // 0 when it inherited the previous entry's time
  char text[128];
};

// "[M:S]" or "[M:S:F]" at the start of `text` (at most `length` bytes, or up
// to a NUL): the length consumed (> 0), 0 when it is not a time stamp, -1
// when the text ends inside one.
int32_t parseTimeStamp(const char* text, int32_t length, int32_t& timeMs);

// One piece of a text line: 0 last piece, 1 another follows (at `advance`),
// -1 the line has no leading time stamp (and, with multiStamp, none later).
struct TimedSegment {
  int32_t timeMs;
  int32_t textOffset;
  int32_t textLength;
  int32_t advance;
};
int32_t splitTimedSegment(const char* line, int32_t length, bool multiStamp, TimedSegment& out);

struct LyricList {
  LyricLine lines[kMaxLyricLines];
  int32_t count = 0;
  int32_t textLine = 0;  // the line counter of the loader
};

void clearLyricLines(LyricList& list);

// Loaders; each clears the list first. The text is read as a text file is
// (CR LF as LF) in lines of at most 127 bytes (1023 with multiStamp).
void fillLyricsFromText(LyricList& list, ByteSource& text, bool multiStamp);
// ENGINE_OK when the file opened (an empty path only clears), else
// ENGINE_ERR_LYRICS_OPEN.
int32_t fillLyricsFromTextFile(LyricList& list, const char* path, bool multiStamp);
// From the LYR field of the block of `source`: ENGINE_OK; kNoLyrics when
// there is no block or its lyrics are empty; or the status code of a read
// or memory failure.
inline constexpr int32_t kNoLyrics = -1;
int32_t fillLyricsFromLyrics3(LyricList& list, ByteSource& source, bool multiStamp);

// The play position in milliseconds as the lookups measure it: seconds
// played scaled by the chosen duration (nominal unless the measured one is
// asked for) over the measured one.
double lyricPositionMs(double positionSeconds, double measuredSeconds, double nominalSeconds, bool useMeasuredDuration);

// The lines around `positionMs`: 0 (ENGINE_OK) or ENGINE_ERR_NO_LYRIC.
int32_t lyricWindowAt(const LyricList& list, double positionMs, LyricWindow& window);
int32_t lyricLineWindowAt(const LyricList& list, double positionMs, LyricLineWindow& window);

}  // namespace orva

// The lyrics text file that lies beside an audio file: its name, and the
// filtering that keeps only each line's first time stamp before the lines
// are loaded. The shell calls these at every track start (after stopping
// the engine); the terminal player does the same.
#pragma once

#include <cstdint>
#include <string>

#include "tags/byte_io.h"
#include "tags/lyric_lines.h"

namespace orva {

inline constexpr int64_t kMaxLyricsFileSize = 1000000;

// The audio path with its extension (from the last '.' of the file name)
// replaced by ".txt"; a name without '.' gets nothing replaced.
std::string lyricsPathFor(const char* audioPath);

// Each line that ends with LF (a CR before it is dropped): everything up to
// and including its first ']', then the rest without any "[...]" span (an
// unclosed '[' cuts the line); written with CR LF. Text after the last LF
// is dropped. `out` must hold 2 * length bytes; returns the bytes written.
int64_t filterLyricsText(const uint8_t* text, int64_t length, uint8_t* out);

// Reads the lyrics file (1 to 1,000,000 bytes), filters it and loads the
// lines from memory into `list`. True when the file was there and loaded.
bool prepareLyricsFile(LyricList& list, const char* lyricsPath, bool multiStamp);

}  // namespace orva

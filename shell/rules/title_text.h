// The texts of the title line and the tray tip. Both are cp932 bytes with
// fixed room; a cut never leaves half of a double-byte character behind, so
// the line never ends in a stray lead byte that would swallow what follows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace orva {

// What the title line holds at most.
inline constexpr size_t kTitleTextMaxBytes = 1000;
// The tray tip field holds 64 bytes with its terminating NUL.
inline constexpr size_t kTrayTipMaxBytes = 63;

// The tray tip while nothing plays: "オルヴァ".
inline constexpr const char* kIdleTrayTip = "\x83\x49\x83\x8B\x83\x94\x83\x40";
// The title line after a walk found nothing it could play: "再生できる曲がありません".
inline constexpr const char* kNothingPlayableTitle =
    "\x8D\xC4\x90\xB6\x82\xC5\x82\xAB\x82\xE9\x8B\xC8\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1";

// How many leading bytes of `text` fit into `maxBytes` without splitting a
// character of the active code page.
size_t fittingBytes(const char* text, size_t maxBytes);
// `text` cut to at most `maxBytes` bytes on a character boundary.
std::string cutText(const char* text, size_t maxBytes);

// "mm:ss text [mm:ss]": the position, the track's display text and its
// length. Minutes run on past 59 (75:04, not 1:15:04); negative times show
// as 00:00. Cut to kTitleTextMaxBytes.
std::string titleLine(int32_t positionSeconds, const char* trackText, int32_t totalSeconds);
// The display text as the tray tip shows it.
std::string trayTip(const char* displayText);

}  // namespace orva

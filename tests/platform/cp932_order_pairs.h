// Pairs of cp932 texts with the sign of their case-insensitive order, as the
// C runtime's _mbsicmp gives it under code page 932. The native suite checks
// compareNoCase against the signs; the Windows suite also checks the signs
// against the runtime itself.
#pragma once

namespace orva::test {

struct OrderPair {
  const char* a;
  const char* b;
  int sign;
};

inline constexpr OrderPair kCp932OrderPairs[] = {
    // ASCII letters fold to lower case, so [ \ ] ^ _ ` sort before them.
    {"Track.MP3", "track.mp3", 0},
    {"a", "B", -1},
    {"_", "a", -1},
    {"_", "A", -1},
    {"[", "a", -1},
    {"`", "B", -1},
    {"Z", "[", 1},
    {"{", "Z", 1},
    {"@", "a", -1},
    // Lengths: the shorter text first.
    {"", "", 0},
    {"", "a", -1},
    {"ab", "abc", -1},
    {"abc", "AB", 1},
    // Every single byte before double-byte text; half-width katakana
    // (0xA1-0xDF) after ASCII.
    {"\xB1", "\x81\x40", -1},
    {"\xDF", "\x88\x9F", -1},
    {"\xA1", "z", 1},
    {"\xDF\xDF", "\xDF\x81\x40", -1},
    {"~", "\x81\x40", -1},
    // A double-byte character is one 16-bit value.
    {"\x88\x9F", "\x81\x40\x81\x40", 1},
    {"\xE0\x40", "\x9F\xFC", 1},
    {"\x95\x5C", "\x95\x5C\\", -1},
    {"\x95\x5Cx", "\x95\x5CY", -1},
    {"a\x83\x41", "A\x83\x41", 0},
    // Trail bytes in the letter range are not letters: ア (0x8341) and
    // ャ (0x8361) stay apart.
    {"\x83\x41", "\x83\x61", -1},
    // Full-width Latin capitals fold onto the small letters.
    {"\x82\x60", "\x82\x81", 0},
    {"\x82\x79", "\x82\x9A", 0},
    {"\x82\x60", "\x82\x82", -1},
    {"\x82\x61", "\x82\x81", 1},
    {"\x82\x60", "A", 1},
    {"\x82\x4F", "\x82\x60", -1},
    // Greek and Cyrillic capitals too.
    {"\x83\x9F", "\x83\xBF", 0},
    {"\x83\xB6", "\x83\xD6", 0},
    {"\x84\x40", "\x84\x70", 0},
    {"\x84\x4F", "\x84\x80", 0},
    {"\x84\x60", "\x84\x91", 0},
    {"\x84\x60", "\x84\x70", 1},
    // A lead byte cut off by the end counts as lead << 8.
    {"a\x95", "a", 1},
    {"a\x95", "a\x95\x5C", -1},
    {"a\x95", "a\x95\x40", -1},
    {"a\x95", "a\xDF", 1},
    {"a\x95", "aB", 1},
    {"a\x94\xFC", "a\x95", -1},
};

}  // namespace orva::test

// Path scanning for the play list: the file name and extension parts and the
// fixed-size copies of paths and texts. Every scan steps whole characters of
// the active code page, so a double-byte character whose second byte is
// 0x5C ("\") is never taken for a separator.
#pragma once

#include <cstddef>

namespace orva {

inline constexpr size_t kMaxPath = 260;

// The character after the last "\", "/" or ":" of `path`, or `path` itself.
const char* fileNamePart(const char* path);
// The last "." inside the file name part, or `path` itself when the file
// name has no ".". Callers compare the text after the returned character.
const char* extensionPart(const char* path);
// True when the file name has a "." and the text after the last one equals
// `extension` ignoring ASCII case ("wav", "lnk", ...).
bool hasExtension(const char* path, const char* extension);
// The start of the last `count` characters of `path` (at most 8), or `path`
// itself when it has fewer.
const char* lastCharacters(const char* path, size_t count);
// True when the last three characters of `path` equal `suffix3` ignoring
// ASCII case (the folder scan's test, which needs no dot).
bool endsWithNoCase3(const char* path, const char* suffix3);
// True when the last character of `path` is "\" or "/" (the trail byte 0x5C
// of a double-byte character is not one): before a name is appended.
bool endsWithSeparator(const char* path);
// Takes one "\" or "/" off the end of `path` when its last character is one;
// the trail byte 0x5C of a double-byte character is left alone.
void removeTrailingSeparator(char* path);

// Copies `source` into `destination` (`size` bytes with the NUL), cutting it
// before a character that would not fit whole. Returns false when it was cut.
bool copyText(char* destination, size_t size, const char* source);

// `path` up to and including its last separator (as fileNamePart finds it);
// empty when it has none.
void directoryPart(const char* path, char* out, size_t size);

}  // namespace orva

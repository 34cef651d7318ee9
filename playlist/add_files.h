// Every way into the play list ends in addFile, which tells from the file
// itself whether it is audio, a bare WAV file or a play list. Around it: the
// folder scan, shell shortcuts and the rule for argument strings and drops.
#pragma once

#include <cstddef>
#include <cstdint>

#include "playlist/playlist.h"

namespace orva {

// The index of the entry added, or what loadPlaylist returns for a file that
// is neither audio nor a "wav" file.
int32_t addFile(Playlist& list, const char* path);
// Scans an existing directory ("*.*") with recurseSubfolders = recurse; the
// first index added, or -1.
int32_t addFolder(Playlist& list, const char* path, int32_t recurse);
// Adds the audio files of `directory` (names ending in mp1, mp2, mp3, rmp,
// wav or mpg, any case) in the order the file system lists them, descending
// into subdirectories whose names do not begin with "." when
// recurseSubfolders is 1. The first index added, or -1.
int32_t scanFolder(Playlist& list, const char* directory, const char* pattern);
// For an existing "*.lnk" file: its target into `out`; true when there is one.
bool resolveShortcut(const char* path, char* out, size_t size);
// A shortcut is replaced by its target; then a file goes to addFile and a
// directory to addFolder with subfolders. -1 for anything else.
int32_t addPath(Playlist& list, const char* path);
// A command line or forwarded string, changed in place: one quoted path, or
// pieces split at every space. The first index added, or -1.
int32_t addArgumentString(Playlist& list, char* text);

}  // namespace orva

// Play list files: loading M3U and extended M3U lists into the play list and
// saving the play list as one.
#pragma once

#include <cstdint>
#include <string>

#include "playlist/playlist.h"

namespace orva {

// Adds the entries of the list file at `path` at the list's insertion point.
// Relative paths in it are taken against the list file's directory. The
// index of the first entry added, or -1 when none was added or the file is
// missing, empty or larger than kMaxPlaylistBytes.
int32_t loadPlaylist(Playlist& list, const char* path);

// Writes the list with every path made absolute, in the extended form or
// as bare paths. The new list is written beside `path` and then replaces
// it, so a failure leaves the previous file whole. False on failure and for
// an empty list (which touches no file).
bool savePlaylist(const Playlist& list, const char* path, bool extended);

// The text savePlaylist writes.
void renderPlaylist(const Playlist& list, bool extended, std::string& out);

}  // namespace orva

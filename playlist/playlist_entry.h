// One play list entry: the file, where its list came from, the text and
// duration shown for it, and what was read from the file. Entries are owned
// by the Playlist from insertion until removal.
#pragma once

#include <cstdint>

#include "orva_engine.h"
#include "playlist/path_parts.h"

namespace orva {

inline constexpr size_t kDisplayTextSize = 1000;

// The names an ID3v2 tag gives, in the active code page. Read only for
// files whose ID3v1 tag and INFO texts name neither title nor artist (so a
// file with those shows exactly what they say), and empty otherwise.
struct Id3v2Names {
  char title[256];
  char artist[256];
  char year[8];
};

struct PlaylistEntry {
  char path[kMaxPath];           // absolute, or relative to listDirectory
  char listDirectory[kMaxPath];  // directory of the list file it came from, else empty
  char displayText[kDisplayTextSize];
  Id3v1Record tag;
  FileInfo fileInfo;  // seconds: the duration found when added
  InfoText infoText;  // slot 0 INAM, slot 1 IART
  Id3v2Names id3v2;
  StreamInfo streamInfo;  // durationSeconds is the shown duration; -1: none
  uint64_t writeTime;     // FILETIME scale (100 ns since 1601)
  int32_t moving;         // 1 while part of a dragged block
  int32_t writeTimeRead;  // 1 once the write time was read (or failed)
};

// Reads a file's tag, MPEG summary, INFO text and ID3v2 names; 1 when the
// file is audio the player understands, else 0. Zeroes the outputs first.
using FileInfoReader = int32_t (*)(const char* path, Id3v1Record* tag, FileInfo* info, InfoText* infoText,
                                   Id3v2Names* id3v2);

// The tag library's file information read (ID3v1 tag, MPEG summary, INFO
// text and the texts of an ID3v2 tag, from a few KB of the file); sets the
// status code on failure.
int32_t readEntryFileInfo(const char* path, Id3v1Record* tag, FileInfo* info, InfoText* infoText, Id3v2Names* id3v2);

// Reads the file information of `entry` from `path`, with `reader`.
int32_t readEntryFrom(FileInfoReader reader, const char* path, PlaylistEntry& entry);

// A zero-filled entry (shown duration -1), or null when memory is short.
PlaylistEntry* newPlaylistEntry();

// The display text of an entry whose file information was read: the file
// name part of `path` when the tag title is empty or one space; otherwise
// "artist - title" from the tag, or from the INFO slots when INAM is set.
// A file that only an ID3v2 tag names shows "artist - title" from it, or
// the title alone when it names no artist.
void buildDisplayText(PlaylistEntry& entry, const char* path);

// The artist, title and year the list sorts by: the ID3v2 names when the
// file has them, else the tag's.
const char* sortArtist(const PlaylistEntry& entry);
const char* sortTitle(const PlaylistEntry& entry);
const char* sortYear(const PlaylistEntry& entry);

// The path to open: `path` as it resolves with `listDirectory` current (a
// relative path joined to it, a root- or drive-relative one taken to its
// drive), or as it stands when no list directory is known. False when the
// result does not fit.
bool resolveEntryPath(const PlaylistEntry& entry, char* out, size_t size);
bool resolvePath(const char* path, const char* listDirectory, char* out, size_t size);

// Reads the file's last-write time into writeTime (left alone on failure)
// and sets writeTimeRead.
void readFileTime(PlaylistEntry& entry);

// The shown duration ("%2d:%02d"); empty text for -1.
void formatDuration(int32_t seconds, char* out, size_t size);

}  // namespace orva

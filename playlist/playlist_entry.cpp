// Entry records: allocation, display text, resolved paths and write times.
#include "playlist/playlist_entry.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "platform/dir_search.h"
#include "platform/path.h"
#include "tags/file_info.h"

namespace orva {

namespace {

bool isEmptyTitle(const char* title) { return title[0] == '\0' || std::strcmp(title, " ") == 0; }

void joinTitle(char* out, const char* artist, const char* title) {
  std::snprintf(out, kDisplayTextSize, "%s - %s", artist, title);
}

}  // namespace

int32_t readEntryFileInfo(const char* path, Id3v1Record* tag, FileInfo* info, InfoText* infoText) {
  return readFileInfoAt(path, tag, info, infoText, nullptr) == ENGINE_OK ? 1 : 0;
}

PlaylistEntry* newPlaylistEntry() {
  auto* entry = new (std::nothrow) PlaylistEntry{};
  if (entry != nullptr) entry->streamInfo.durationSeconds = -1;
  return entry;
}

void buildDisplayText(PlaylistEntry& entry, const char* path) {
  const InfoText& info = entry.infoText;
  if (isEmptyTitle(entry.tag.title)) {
    copyText(entry.displayText, kDisplayTextSize, fileNamePart(path));
  } else if (info.slots[0][0] == '\0') {
    joinTitle(entry.displayText, entry.tag.artist, entry.tag.title);
  } else {
    joinTitle(entry.displayText, info.slots[1], info.slots[0]);
  }
}

bool resolveEntryPath(const PlaylistEntry& entry, char* out, size_t size) {
  return resolvePath(entry.path, entry.listDirectory, out, size);
}

bool resolvePath(const char* path, const char* listDirectory, char* out, size_t size) {
  if (listDirectory[0] == '\0') return copyText(out, size, path);
  // As the system would resolve it with the list's folder current, without
  // making that folder current.
  return platform::resolveInDirectory(path, listDirectory, out, size);
}

void readFileTime(PlaylistEntry& entry) {
  char path[kMaxPath * 2];
  uint64_t written = 0;
  if (resolveEntryPath(entry, path, sizeof path) && platform::lastWriteTime(path, written)) entry.writeTime = written;
  entry.writeTimeRead = 1;
}

void formatDuration(int32_t seconds, char* out, size_t size) {
  if (size == 0) return;
  out[0] = '\0';
  if (seconds < 0) return;
  std::snprintf(out, size, "%2d:%02d", static_cast<int>(seconds / 60), static_cast<int>(seconds % 60));
}

}  // namespace orva

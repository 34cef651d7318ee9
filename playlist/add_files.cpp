// Adding files, folders, shortcuts and argument strings to the play list.
#include "playlist/add_files.h"

#include <cstdio>
#include <cstring>

#include "platform/dir_search.h"
#include "platform/file.h"
#include "platform/path.h"
#include "platform/shell_link.h"
#include "playlist/playlist_file.h"

namespace orva {

namespace {

// Tested against the last three characters of the full path, in this order.
constexpr const char* kAudioExtensions[] = {"mp1", "mp2", "mp3", "rmp", "wav", "mpg"};

bool isAudioName(const char* full) {
  if (std::strlen(full) < 5) return false;
  for (const char* ext : kAudioExtensions) {
    if (endsWithNoCase3(full, ext)) return true;
  }
  return false;
}

int32_t firstOf(int32_t first, int32_t index) { return first != -1 ? first : index; }

}  // namespace

int32_t addFile(Playlist& list, const char* path) {
  PlaylistEntry* entry = newPlaylistEntry();
  if (entry == nullptr) return -1;
  copyText(entry->path, kMaxPath, path);
  if (readEntryFrom(list.readFileInfo, path, *entry) == 1) {
    entry->streamInfo.durationSeconds = entry->fileInfo.seconds;
    buildDisplayText(*entry, entry->path);
    return list.insertEntry(entry);
  }
  if (hasExtension(path, "wav")) {
    copyText(entry->displayText, kDisplayTextSize, fileNamePart(entry->path));
    return list.insertEntry(entry);
  }
  delete entry;
  return loadPlaylist(list, path);
}

int32_t addFolder(Playlist& list, const char* path, int32_t recurse) {
  if (!platform::isDirectory(path)) return -1;
  list.recurseSubfolders = recurse;
  char directory[kMaxPath];
  if (!copyText(directory, sizeof directory, path)) return -1;
  removeTrailingSeparator(directory);
  return scanFolder(list, directory, "*.*");
}

int32_t scanFolder(Playlist& list, const char* directory, const char* pattern) {
  platform::DirSearch search;
  if (!search.open(directory, pattern)) return -1;
  int32_t first = -1;
  platform::DirItem item{};
  while (search.next(item)) {
    // Names whose full path would not fit are skipped; this also ends any
    // descent through directory links that lead back up.
    char full[kMaxPath];
    int n = std::snprintf(full, sizeof full, "%s%c%s", directory, platform::kPathSeparator, item.name);
    if (n < 0 || static_cast<size_t>(n) >= sizeof full) continue;
    if (item.isDirectory) {
      if (item.name[0] != '.' && list.recurseSubfolders == 1) first = firstOf(first, scanFolder(list, full, pattern));
    } else if (isAudioName(full)) {
      first = firstOf(first, addFile(list, full));
    }
  }
  return first;
}

bool resolveShortcut(const char* path, char* out, size_t size) {
  if (std::strlen(path) <= 3 || !endsWithNoCase3(path, "lnk") || !platform::fileExists(path)) return false;
  return platform::readShellLinkTarget(path, out, size);
}

int32_t addPath(Playlist& list, const char* path) {
  char target[kMaxPath];
  if (resolveShortcut(path, target, sizeof target)) path = target;
  if (platform::fileExists(path)) return addFile(list, path);
  if (platform::isDirectory(path)) return addFolder(list, path, 1);
  return -1;
}

int32_t addArgumentString(Playlist& list, char* text) {
  if (text == nullptr || text[0] == '\0') return -1;
  if (text[0] == '"') {
    char* path = text + 1;
    size_t length = std::strlen(path);
    if (length > 0 && path[length - 1] == '"') path[length - 1] = '\0';
    return addPath(list, path);
  }
  int32_t first = -1;
  char* piece = text;
  for (;;) {
    char* space = std::strchr(piece, ' ');
    if (space != nullptr) *space = '\0';
    first = firstOf(first, addPath(list, piece));
    if (space == nullptr) break;
    piece = space + 1;
  }
  return first;
}

}  // namespace orva

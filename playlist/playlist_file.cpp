// Loading and saving play list files over the M3U text walk.
#include "playlist/playlist_file.h"

#include <string>

#include "platform/file.h"
#include "platform/path.h"
#include "playlist/m3u.h"

namespace orva {

namespace {

bool readListText(const char* path, std::string& text) {
  platform::File file;
  if (!platform::fileExists(path) || !file.open(path, platform::FileMode::Read)) return false;
  int64_t size = file.size();
  if (size <= 0 || size > kMaxPlaylistBytes) return false;
  text.resize(static_cast<size_t>(size));
  int64_t got = file.read(text.data(), size);
  if (got <= 0) return false;
  text.resize(static_cast<size_t>(got));
  return true;
}

// Makes an entry for one path line that names an existing file, or null.
PlaylistEntry* entryForLine(const Playlist& list, const M3uPathLine& line, const char* listDirectory,
                            const char* fullPath) {
  PlaylistEntry* entry = newPlaylistEntry();
  if (entry == nullptr) return nullptr;
  copyText(entry->path, kMaxPath, std::string(line.path).c_str());
  copyText(entry->listDirectory, kMaxPath, listDirectory);
  if (line.hasTitle) {
    copyText(entry->displayText, kDisplayTextSize, std::string(line.title).c_str());
    entry->streamInfo.durationSeconds = parseDuration(line.durationText);
  } else if (readEntryFrom(list.readFileInfo, fullPath, *entry) == 1) {
    buildDisplayText(*entry, entry->path);
    entry->streamInfo.durationSeconds = entry->fileInfo.seconds;
  } else if (hasExtension(entry->path, "wav")) {
    copyText(entry->displayText, kDisplayTextSize, fileNamePart(entry->path));
  } else {
    delete entry;
    return nullptr;
  }
  return entry;
}

}  // namespace

int32_t loadPlaylist(Playlist& list, const char* path) {
  std::string text;
  if (path == nullptr || !readListText(path, text)) return -1;
  // The list directory is kept absolute so that its entries resolve from
  // whatever directory is current later.
  char fullList[kMaxPath * 4];
  char listDirectory[kMaxPath];
  directoryPart(platform::makeFullPath(path, fullList, sizeof fullList) ? fullList : path, listDirectory,
                sizeof listDirectory);

  int32_t first = -1;
  M3uWalker walker(text);
  M3uPathLine line{};
  while (walker.next(line)) {
    // The path as the entry will store it (cut to kMaxPath), then resolved.
    char stored[kMaxPath];
    copyText(stored, sizeof stored, std::string(line.path).c_str());
    char resolved[kMaxPath * 2];
    if (!resolvePath(stored, listDirectory, resolved, sizeof resolved) || !platform::fileExists(resolved)) continue;
    PlaylistEntry* entry = entryForLine(list, line, listDirectory, resolved);
    if (line.hasTitle) walker.consumeTitle();
    if (entry == nullptr) continue;
    int32_t index = list.insertEntry(entry);
    if (first < 0) first = index;
  }
  return first;
}

void renderPlaylist(const Playlist& list, bool extended, std::string& out) {
  out.clear();
  if (extended) out += kExtM3uHeader;
  for (int32_t i = 0; i < list.count(); ++i) {
    const PlaylistEntry* entry = list.entry(i);
    char resolved[kMaxPath * 2];
    char full[kMaxPath * 2];
    const char* path = entry->path;
    if (resolveEntryPath(*entry, resolved, sizeof resolved) && platform::makeFullPath(resolved, full, sizeof full)) {
      path = full;
    }
    appendM3uEntry(out, extended, entry->streamInfo.durationSeconds, entry->displayText, path);
  }
}

bool savePlaylist(const Playlist& list, const char* path, bool extended) {
  if (list.count() == 0 || path == nullptr || path[0] == '\0') return false;
  std::string text;
  renderPlaylist(list, extended, text);
  std::string fresh = std::string(path) + ".new";
  platform::File file;
  if (!file.open(fresh.c_str(), platform::FileMode::CreateAlways)) return false;
  auto size = static_cast<int64_t>(text.size());
  bool written = file.write(text.data(), size) == size && file.flush();
  file.close();
  if (written && platform::replaceFile(fresh.c_str(), path)) return true;
  platform::removeFile(fresh.c_str());
  return false;
}

}  // namespace orva

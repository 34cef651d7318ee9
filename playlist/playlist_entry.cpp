// Entry records: allocation, display text, resolved paths and write times.
#include "playlist/playlist_entry.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "platform/codepage.h"
#include "platform/dir_search.h"
#include "platform/path.h"
#include "tags/file_info.h"

namespace orva {

namespace {

bool isEmptyTitle(const char* title) { return title[0] == '\0' || std::strcmp(title, " ") == 0; }

void joinTitle(char* out, const char* artist, const char* title) {
  std::snprintf(out, kDisplayTextSize, "%s - %s", artist, title);
}

bool namesNothing(const Id3v1Record* tag, const InfoText* info) {
  const bool tagNames = tag != nullptr && (!isEmptyTitle(tag->title) || !isEmptyTitle(tag->artist));
  const bool infoNames = info != nullptr && (info->slots[0][0] != '\0' || info->slots[1][0] != '\0');
  return !tagNames && !infoNames;
}

bool hasId3v2Names(const PlaylistEntry& entry) { return entry.id3v2.title[0] != '\0' || entry.id3v2.artist[0] != '\0'; }

}  // namespace

int32_t readEntryFileInfo(const char* path, Id3v1Record* tag, FileInfo* info, InfoText* infoText, Id3v2Names* id3v2) {
  Id3v2Texts texts;
  const bool read =
      readFileInfoAt(path, tag, info, infoText, nullptr, id3v2 != nullptr ? &texts : nullptr) == ENGINE_OK;
  if (id3v2 == nullptr) return read ? 1 : 0;
  *id3v2 = Id3v2Names{};
  if (read && namesNothing(tag, infoText)) {
    copyText(id3v2->title, sizeof id3v2->title, platform::utf8ToActiveCodePage(texts.title).c_str());
    copyText(id3v2->artist, sizeof id3v2->artist, platform::utf8ToActiveCodePage(texts.artist).c_str());
    copyText(id3v2->year, sizeof id3v2->year, platform::utf8ToActiveCodePage(texts.year).c_str());
  }
  return read ? 1 : 0;
}

int32_t readEntryFrom(FileInfoReader reader, const char* path, PlaylistEntry& entry) {
  return reader(path, &entry.tag, &entry.fileInfo, &entry.infoText, &entry.id3v2);
}

PlaylistEntry* newPlaylistEntry() {
  auto* entry = new (std::nothrow) PlaylistEntry{};
  if (entry != nullptr) entry->streamInfo.durationSeconds = -1;
  return entry;
}

void buildDisplayText(PlaylistEntry& entry, const char* path) {
  const InfoText& info = entry.infoText;
  const Id3v2Names& id3v2 = entry.id3v2;
  if (id3v2.title[0] != '\0' && id3v2.artist[0] != '\0') {
    joinTitle(entry.displayText, id3v2.artist, id3v2.title);
  } else if (id3v2.title[0] != '\0') {
    copyText(entry.displayText, kDisplayTextSize, id3v2.title);
  } else if (isEmptyTitle(entry.tag.title)) {
    copyText(entry.displayText, kDisplayTextSize, fileNamePart(path));
  } else if (info.slots[0][0] == '\0') {
    joinTitle(entry.displayText, entry.tag.artist, entry.tag.title);
  } else {
    joinTitle(entry.displayText, info.slots[1], info.slots[0]);
  }
}

const char* sortArtist(const PlaylistEntry& entry) {
  return hasId3v2Names(entry) ? entry.id3v2.artist : entry.tag.artist;
}
const char* sortTitle(const PlaylistEntry& entry) { return hasId3v2Names(entry) ? entry.id3v2.title : entry.tag.title; }
const char* sortYear(const PlaylistEntry& entry) { return hasId3v2Names(entry) ? entry.id3v2.year : entry.tag.year; }

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

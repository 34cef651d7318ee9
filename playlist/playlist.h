// The play list: entries in play order, the insertion point for drops and
// the index of the entry last started. A list box shows it as a thin view:
// its rows are the positions here and each row's data leads to the entry.
// Window thread only.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "playlist/playlist_entry.h"

namespace orva {

// Told about every change so that a window can follow the model.
class PlaylistView {
 public:
  virtual ~PlaylistView() = default;
  virtual void entryInserted(int32_t index) {}
  virtual void entryRemoved(int32_t index) {}
  virtual void orderChanged() {}
};

class Playlist {
 public:
  Playlist() = default;
  ~Playlist();
  Playlist(const Playlist&) = delete;
  Playlist& operator=(const Playlist&) = delete;

  int32_t count() const { return static_cast<int32_t>(entries_.size()); }
  // Null for an index outside the list.
  PlaylistEntry* entry(int32_t index) const;
  // Rewrites the entry at a position (reordering only: the caller keeps the
  // entries a permutation of what was there).
  void setEntry(int32_t index, PlaylistEntry* entry);

  // Takes ownership. Appends, or inserts at insertIndex and moves it on by
  // one; reads the write time. The index, or -1 (entry freed) when memory is
  // short.
  int32_t insertEntry(PlaylistEntry* entry);
  // Removes the entries at the ascending positions `selected`; each removal
  // below currentIndex moves it down by one.
  void deleteSelected(std::span<const int32_t> selected);
  // Removes everything; currentIndex stays as it was.
  void deleteAll();

  int32_t insertIndex = -1;       // -1: append
  int32_t currentIndex = 0;       // entry last started
  int32_t recurseSubfolders = 0;  // folder scans descend into subfolders
  FileInfoReader readFileInfo = readEntryFileInfo;
  PlaylistView* view = nullptr;

 private:
  std::vector<PlaylistEntry*> entries_;
};

}  // namespace orva

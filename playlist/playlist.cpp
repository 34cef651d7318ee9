// The play list's entries: insertion at the drop point, removal with the
// current index following its entry, and ownership of the records.
#include "playlist/playlist.h"

#include <new>

namespace orva {

Playlist::~Playlist() {
  for (PlaylistEntry* e : entries_) delete e;
}

PlaylistEntry* Playlist::entry(int32_t index) const {
  return index >= 0 && index < count() ? entries_[static_cast<size_t>(index)] : nullptr;
}

void Playlist::setEntry(int32_t index, PlaylistEntry* entry) {
  if (index >= 0 && index < count() && entry != nullptr) entries_[static_cast<size_t>(index)] = entry;
}

int32_t Playlist::insertEntry(PlaylistEntry* entry) {
  if (entry == nullptr) return -1;
  int32_t index = insertIndex;
  if (index < 0 || index > count()) index = count();
  try {
    entries_.insert(entries_.begin() + index, entry);
  } catch (const std::bad_alloc&) {
    delete entry;
    return -1;
  }
  if (insertIndex >= 0) insertIndex = index + 1;
  readFileTime(*entry);
  if (view != nullptr) view->entryInserted(index);
  return index;
}

void Playlist::deleteSelected(std::span<const int32_t> selected) {
  // One pass of compaction; the index arithmetic is that of removing the
  // rows one by one from the top, and the view hears of them in that order
  // once the model has them gone.
  std::vector<bool> doomed(entries_.size(), false);
  std::vector<int32_t> rows;
  int32_t previous = -1;
  for (int32_t s : selected) {
    if (s <= previous || s >= count()) continue;  // not ascending, or no such row
    previous = s;
    doomed[static_cast<size_t>(s)] = true;
    int32_t row = s - static_cast<int32_t>(rows.size());
    rows.push_back(row);
    if (row < currentIndex) --currentIndex;
  }
  size_t kept = 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (doomed[i]) {
      delete entries_[i];
    } else {
      entries_[kept++] = entries_[i];
    }
  }
  entries_.resize(kept);
  if (view != nullptr) {
    for (int32_t row : rows) view->entryRemoved(row);
  }
}

void Playlist::deleteAll() {
  const int32_t rows = count();
  for (PlaylistEntry* e : entries_) delete e;
  entries_.clear();
  if (view != nullptr) {
    for (int32_t i = 0; i < rows; ++i) view->entryRemoved(0);
  }
}

}  // namespace orva

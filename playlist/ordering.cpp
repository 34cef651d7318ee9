// Sorting, shuffling and block moves over entry positions.
#include "playlist/ordering.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/codepage.h"

namespace orva {

namespace {

bool hasNoTagTitle(const PlaylistEntry& e) { return e.tag.title[0] == '\0' || std::strcmp(e.tag.title, " ") == 0; }

// Case-insensitive, in the order the runtime's _mbsicmp gives the code page.
int compareText(const char* a, const char* b) { return platform::compareNoCase(a, b); }

int compareByKey(const PlaylistEntry& a, const PlaylistEntry& b, int32_t key) {
  switch (key) {
    case SORT_TITLE: return compareText(a.displayText, b.displayText);
    case SORT_ARTIST: return compareText(sortArtist(a), sortArtist(b));
    case SORT_SONG: return compareText(sortTitle(a), sortTitle(b));
    case SORT_DATE: return compareText(sortYear(a), sortYear(b));
    case SORT_TIMESTAMP: return a.writeTime < b.writeTime ? -1 : (a.writeTime > b.writeTime ? 1 : 0);
    default: return 0;
  }
}

void refreshTags(const Playlist& list, PlaylistEntry& e) {
  char path[kMaxPath * 2];
  if (!resolveEntryPath(e, path, sizeof path)) return;
  // A file that is no longer audio keeps the empty records the read leaves.
  readEntryFrom(list.readFileInfo, path, e);
}

}  // namespace

void sortPlaylist(Playlist& list, SortState& state, int32_t key, std::span<const int32_t> selected) {
  state.sortDirection = key == state.lastSortKey ? -state.sortDirection : 1;
  state.lastSortKey = key;
  std::vector<int32_t> positions;
  try {
    if (selected.size() > 1) {
      for (int32_t s : selected) {
        if (s >= 0 && s < list.count() && (positions.empty() || s > positions.back())) positions.push_back(s);
      }
    } else {
      positions.resize(static_cast<size_t>(list.count()));
      for (int32_t i = 0; i < list.count(); ++i) positions[static_cast<size_t>(i)] = i;
    }
    std::vector<PlaylistEntry*> entries;
    entries.reserve(positions.size());
    for (int32_t p : positions) entries.push_back(list.entry(p));
    if (key != SORT_TITLE) {
      for (PlaylistEntry* e : entries) {
        if (hasNoTagTitle(*e)) refreshTags(list, *e);
      }
    }
    const int32_t direction = state.sortDirection;
    // Stable, so that entries with equal keys keep their order both ways.
    std::stable_sort(entries.begin(), entries.end(), [key, direction](const PlaylistEntry* a, const PlaylistEntry* b) {
      return compareByKey(*a, *b, key) * direction < 0;
    });
    for (size_t i = 0; i < positions.size(); ++i) list.setEntry(positions[i], entries[i]);
  } catch (const std::bad_alloc&) {
    return;  // the list stays as it was
  }
  if (list.view != nullptr) list.view->orderChanged();
}

int32_t buildShuffleOrder(int32_t count, ShuffleState& state, RandomSource random) {
  if (count <= 0) return -1;
  try {
    state.shuffleOrder.resize(static_cast<size_t>(count));
  } catch (const std::bad_alloc&) {
    state.shuffleOrder.clear();
    return -1;
  }
  for (int32_t i = 0; i < count; ++i) state.shuffleOrder[static_cast<size_t>(i)] = i;
  for (int32_t i = 0; i < count; ++i) {
    int r = random();
    if (r < 0) r = -(r + 1);  // only the runtime's rand is known to be non-negative
    std::swap(state.shuffleOrder[static_cast<size_t>(i)], state.shuffleOrder[static_cast<size_t>(r % count)]);
  }
  return count;
}

int32_t nextShuffleIndex(int32_t count, ShuffleState& state, RandomSource random) {
  if (count <= 0) return -1;
  if (count != state.shuffleCount || state.shuffleOrder.size() != static_cast<size_t>(count)) {
    state.shuffleCount = buildShuffleOrder(count, state, random);
    state.shufflePosition = -1;
    if (state.shuffleCount < 0) return -1;
  }
  state.shufflePosition += 1;
  if (state.shufflePosition < 0 || state.shufflePosition >= count) state.shufflePosition = 0;
  return state.shuffleOrder[static_cast<size_t>(state.shufflePosition)];
}

void beginMove(MoveState& move, const Playlist& list, std::span<const int32_t> selected, int32_t anchor) {
  move = MoveState{};
  move.moveActive = 1;
  move.anchor = anchor;
  const auto count = static_cast<size_t>(list.count());
  move.before.resize(count);
  for (size_t i = 0; i < count; ++i) move.before[i] = list.entry(static_cast<int32_t>(i));
  move.after = move.before;
  std::vector<bool> chosen(count, false);
  for (int32_t s : selected) {
    if (s >= 0 && static_cast<size_t>(s) < count) chosen[static_cast<size_t>(s)] = true;
  }
  for (size_t i = 0; i < count; ++i) (chosen[i] ? move.selected : move.unselected).push_back(static_cast<int32_t>(i));
  move.targets = move.selected;
}

void moveTo(MoveState& move, int32_t row) {
  if (move.moveActive == 0 || move.selected.empty()) return;
  const auto count = static_cast<int32_t>(move.before.size());
  const int32_t firstSelected = move.selected.front();
  const int32_t lastSelected = move.selected.back();
  int32_t delta = row - move.anchor;
  if (firstSelected + delta < 0) delta = -firstSelected;
  if (lastSelected + delta > count - 1) delta = count - 1 - lastSelected;
  for (size_t i = 0; i < move.selected.size(); ++i) move.targets[i] = move.selected[i] + delta;
  size_t nextSelected = 0;
  size_t nextUnselected = 0;
  for (int32_t position = 0; position < count; ++position) {
    PlaylistEntry* e = nullptr;
    if (nextSelected < move.targets.size() && move.targets[nextSelected] == position) {
      e = move.before[static_cast<size_t>(move.selected[nextSelected++])];
      e->moving = 1;
    } else {
      e = move.before[static_cast<size_t>(move.unselected[nextUnselected++])];
      e->moving = 0;
    }
    move.after[static_cast<size_t>(position)] = e;
  }
}

PlaylistEntry* movedEntryAt(const MoveState& move, int32_t row) {
  return row >= 0 && static_cast<size_t>(row) < move.after.size() ? move.after[static_cast<size_t>(row)] : nullptr;
}

void endMove(MoveState& move, Playlist& list) {
  if (move.moveActive != 0 && move.after.size() == static_cast<size_t>(list.count())) {
    for (size_t i = 0; i < move.after.size(); ++i) {
      move.after[i]->moving = 0;
      list.setEntry(static_cast<int32_t>(i), move.after[i]);
    }
    if (list.view != nullptr) list.view->orderChanged();
  }
  move = MoveState{};
}

}  // namespace orva

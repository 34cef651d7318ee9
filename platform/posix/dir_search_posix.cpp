// POSIX directory walk. "*.*" matches every name as it does on Windows; other
// patterns are matched with "*" and "?" ignoring ASCII case, as FindFirstFileA
// does on the file systems our users have.
#include <dirent.h>
#include <sys/stat.h>

#include <cstring>
#include <new>

#include "platform/dir_search.h"

namespace orva::platform {

namespace {

struct SearchState {
  DIR* dir = nullptr;
  bool matchAll = false;
  char pattern[260] = {};
};

char foldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool wildcardMatch(const char* p, const char* s) {
  // Iterative match with one back-tracking point for the last "*".
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*s != '\0') {
    if (*p == '*') {
      star = p++;
      resume = s;
    } else if (*p == '?' || (*p != '\0' && foldAscii(*p) == foldAscii(*s))) {
      ++p;
      ++s;
    } else if (star != nullptr) {
      p = star + 1;
      s = ++resume;
    } else {
      return false;
    }
  }
  while (*p == '*') ++p;
  return *p == '\0';
}

bool entryIsDirectory(DIR* dir, const dirent* e) {
#ifdef _DIRENT_HAVE_D_TYPE
  if (e->d_type == DT_DIR) return true;
  if (e->d_type != DT_UNKNOWN && e->d_type != DT_LNK) return false;
#endif
  struct stat st {};
  return fstatat(dirfd(dir), e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

DirSearch::~DirSearch() { close(); }

bool DirSearch::open(const char* directory, const char* pattern) {
  close();
  if (directory == nullptr || pattern == nullptr) return false;
  auto* state = new (std::nothrow) SearchState;
  if (state == nullptr) return false;
  state->dir = opendir(directory[0] != '\0' ? directory : "/");  // "" + "/" + name joins to the root
  if (state->dir == nullptr || std::strlen(pattern) >= sizeof state->pattern) {
    if (state->dir != nullptr) closedir(state->dir);
    delete state;
    return false;
  }
  state->matchAll = std::strcmp(pattern, "*.*") == 0 || std::strcmp(pattern, "*") == 0;
  std::strcpy(state->pattern, pattern);
  state_ = state;
  return true;
}

bool DirSearch::next(DirItem& item) {
  auto* state = static_cast<SearchState*>(state_);
  if (state == nullptr) return false;
  while (const dirent* e = readdir(state->dir)) {
    size_t length = std::strlen(e->d_name);
    if (length >= sizeof item.name) continue;
    if (!state->matchAll && !wildcardMatch(state->pattern, e->d_name)) continue;
    std::memcpy(item.name, e->d_name, length + 1);
    item.isDirectory = entryIsDirectory(state->dir, e);
    return true;
  }
  return false;
}

void DirSearch::close() {
  auto* state = static_cast<SearchState*>(state_);
  if (state == nullptr) return;
  closedir(state->dir);
  delete state;
  state_ = nullptr;
}

bool lastWriteTime(const char* path, uint64_t& writeTime) {
  struct stat st {};
  if (path == nullptr || stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return false;
  // Seconds between 1601-01-01 and 1970-01-01.
  constexpr int64_t kEpochDifference = 11644473600;
  int64_t seconds = static_cast<int64_t>(st.st_mtim.tv_sec) + kEpochDifference;
  if (seconds < 0) seconds = 0;
  writeTime = static_cast<uint64_t>(seconds) * 10000000u + static_cast<uint64_t>(st.st_mtim.tv_nsec) / 100u;
  return true;
}

}  // namespace orva::platform

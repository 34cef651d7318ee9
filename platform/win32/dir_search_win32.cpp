// Win32 directory walk through FindFirstFileA/FindNextFileA; the pattern is
// handed to the system as "%s\%s".
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "platform/dir_search.h"

namespace orva::platform {

namespace {

struct SearchState {
  HANDLE find = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAA data{};
  bool firstPending = false;
};

}  // namespace

DirSearch::~DirSearch() { close(); }

bool DirSearch::open(const char* directory, const char* pattern) {
  close();
  if (directory == nullptr || pattern == nullptr) return false;
  char query[MAX_PATH];
  int n = std::snprintf(query, sizeof query, "%s\\%s", directory, pattern);
  if (n < 0 || static_cast<size_t>(n) >= sizeof query) return false;
  auto* state = new (std::nothrow) SearchState;
  if (state == nullptr) return false;
  state->find = FindFirstFileA(query, &state->data);
  if (state->find == INVALID_HANDLE_VALUE) {
    delete state;
    return false;
  }
  state->firstPending = true;
  state_ = state;
  return true;
}

bool DirSearch::next(DirItem& item) {
  auto* state = static_cast<SearchState*>(state_);
  if (state == nullptr) return false;
  for (;;) {
    if (!state->firstPending && !FindNextFileA(state->find, &state->data)) return false;
    state->firstPending = false;
    size_t length = std::strlen(state->data.cFileName);
    if (length >= sizeof item.name) continue;
    std::memcpy(item.name, state->data.cFileName, length + 1);
    item.isDirectory = (state->data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return true;
  }
}

void DirSearch::close() {
  auto* state = static_cast<SearchState*>(state_);
  if (state == nullptr) return;
  FindClose(state->find);
  delete state;
  state_ = nullptr;
}

bool lastWriteTime(const char* path, uint64_t& writeTime) {
  if (path == nullptr) return false;
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  FILETIME written{};
  bool ok = GetFileTime(h, nullptr, nullptr, &written) != 0;
  CloseHandle(h);
  if (ok) writeTime = (static_cast<uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
  return ok;
}

}  // namespace orva::platform

// Walking the names of one directory, for the play list's folder scan.
// Win32 uses FindFirstFileA/FindNextFileA; POSIX uses opendir/readdir. Both
// report "." and ".." like any other name and return names in the order the
// file system keeps them.
#pragma once

#include <cstdint>

namespace orva::platform {

struct DirItem {
  char name[260];
  bool isDirectory;
};

class DirSearch {
 public:
  DirSearch() = default;
  ~DirSearch();
  DirSearch(const DirSearch&) = delete;
  DirSearch& operator=(const DirSearch&) = delete;

  // Starts a search of `directory` for names matching `pattern` ("*.*" and
  // "*" match every name). False when the directory cannot be read or holds
  // no matching name.
  bool open(const char* directory, const char* pattern);
  // The next matching name; false at the end. Names that do not fit `name`
  // are skipped.
  bool next(DirItem& item);
  void close();

 private:
  void* state_ = nullptr;
};

// Last-write time of a file in 100 ns units since 1601-01-01 (the Win32
// FILETIME scale on both builds). False when the file cannot be opened.
bool lastWriteTime(const char* path, uint64_t& writeTime);

}  // namespace orva::platform

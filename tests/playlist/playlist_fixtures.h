// Fixtures for the play list tests: files written into a TempDir and a fake
// file information reader that needs no audio. A file whose bytes begin
// "AUDIO|" is accepted; the rest is "title|artist|seconds".
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>

#include <cerrno>
#endif

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "playlist/playlist.h"
#include "tests/support/test_support.h"

namespace orva::test {

inline int32_t gFakeReads = 0;

inline int32_t fakeReadFileInfo(const char* path, Id3v1Record* tag, FileInfo* info, InfoText* infoText,
                                Id3v2Names* id3v2) {
  ++gFakeReads;
  *id3v2 = Id3v2Names{};
  *tag = Id3v1Record{};
  *info = FileInfo{};
  *infoText = InfoText{};
  std::vector<uint8_t> bytes = readFileBytes(path);
  std::string text(bytes.begin(), bytes.end());
  if (text.rfind("AUDIO|", 0) != 0) return 0;
  text.erase(0, 6);
  size_t bar1 = text.find('|');
  size_t bar2 = text.find('|', bar1 + 1);
  std::string title = text.substr(0, bar1);
  std::string artist = text.substr(bar1 + 1, bar2 - bar1 - 1);
  std::strncpy(tag->title, title.c_str(), sizeof tag->title - 1);
  std::strncpy(tag->artist, artist.c_str(), sizeof tag->artist - 1);
  info->seconds = std::atoi(text.c_str() + bar2 + 1);
  return 1;
}

inline void writeText(const std::string& path, const std::string& text) {
  writeFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

inline void writeAudio(const std::string& path, const std::string& title, const std::string& artist, int seconds) {
  writeText(path, "AUDIO|" + title + "|" + artist + "|" + std::to_string(seconds));
}

// A folder by its bytes as given (cp932 names included); true when it is
// there afterwards.
inline bool makeDirectory(const std::string& path) {
#ifdef _WIN32
  return CreateDirectoryA(path.c_str(), nullptr) != 0 || GetLastError() == ERROR_ALREADY_EXISTS;
#else
  return mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
#endif
}

inline std::string readText(const std::string& path) {
  std::vector<uint8_t> bytes = readFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

inline std::vector<std::string> displayTexts(const Playlist& list) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < list.count(); ++i) out.emplace_back(list.entry(i)->displayText);
  return out;
}

}  // namespace orva::test

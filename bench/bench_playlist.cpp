// Play list at scale: copies small corpus clips into a fresh temporary
// folder as N MPEG files, then times the folder scan (with and without the
// file information read), saving the list as an extended M3U file, loading
// it back (titles from the list, no probing) and loading a plain list (every
// file probed). Bytes read per probed file come from /proc/self/io.
//   orva-bench-playlist [CORPUS_DIR] [COUNT]
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "playlist/add_files.h"
#include "playlist/ordering.h"
#include "playlist/playlist_file.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Wall time; the CPU time of the process is printed beside it because the
// bench often shares a busy machine.
std::clock_t cpuStart = 0;

double secondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

double cpuSeconds() {
  double s = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
  cpuStart = std::clock();
  return s;
}

long long bytesReadSoFar() {
  std::ifstream io("/proc/self/io");
  std::string key;
  long long value = 0;
  while (io >> key >> value) {
    if (key == "rchar:") return value;
  }
  return -1;
}

// Accepts every file unread: the walk and the list alone.
int32_t noProbe(const char*, Id3v1Record*, FileInfo*, InfoText*, orva::Id3v2Names*) { return 1; }

std::vector<fs::path> smallClips(const fs::path& corpus) {
  std::vector<fs::path> clips;
  std::error_code ec;
  for (const auto& item : fs::directory_iterator(corpus, ec)) {
    std::string name = item.path().filename().string();
    std::string ext = item.path().extension().string();
    bool mpeg = ext == ".mp1" || ext == ".mp2" || ext == ".mp3";
    if (mpeg && name.rfind("dmg_", 0) != 0 && item.file_size() <= 16384) clips.push_back(item.path());
  }
  return clips;
}

}  // namespace

int main(int argc, char** argv) {
  fs::path corpus = argc > 1 ? argv[1] : "/work/shared/corpus";
  int count = argc > 2 ? std::atoi(argv[2]) : 10000;
  std::vector<fs::path> clips = smallClips(corpus);
  if (clips.empty() || count <= 0) {
    std::fprintf(stderr, "no small MPEG clips in %s\n", corpus.c_str());
    return 1;
  }
  fs::path root = fs::temp_directory_path() / ("orva-bench-playlist-" + std::to_string(getpid()));
  fs::path folder = root / "music";
  fs::create_directories(folder);
  auto start = Clock::now();
  cpuSeconds();
  for (int i = 0; i < count; ++i) {
    const fs::path& clip = clips[static_cast<size_t>(i) % clips.size()];
    char name[32];
    std::snprintf(name, sizeof name, "t%05d", i);
    fs::copy_file(clip, folder / (name + clip.extension().string()));
  }
  std::printf("files       %d copies of %zu clips in %s (%.2f s)\n", count, clips.size(), folder.c_str(),
              secondsSince(start));

  orva::Playlist names;
  names.readFileInfo = noProbe;
  start = Clock::now();
  cpuSeconds();
  orva::scanFolder(names, folder.c_str(), "*.*");
  double wall = secondsSince(start);
  std::printf("scanFolder  no probing      %7.3f s  cpu %6.3f s  (%d entries)\n", wall, cpuSeconds(), names.count());

  orva::Playlist list;
  long long before = bytesReadSoFar();
  start = Clock::now();
  cpuSeconds();
  orva::scanFolder(list, folder.c_str(), "*.*");
  double scan = secondsSince(start);
  long long perFile = list.count() > 0 ? (bytesReadSoFar() - before) / list.count() : 0;
  std::printf("scanFolder  with probing    %7.3f s  cpu %6.3f s  (%d entries, %lld bytes read per file)\n", scan,
              cpuSeconds(), list.count(), perFile);

  std::string extended = (root / "ext.m3u").string();
  std::string plain = (root / "plain.m3u").string();
  start = Clock::now();
  cpuSeconds();
  bool saved = orva::savePlaylist(list, extended.c_str(), true);
  wall = secondsSince(start);
  std::printf("save        extended M3U    %7.3f s  cpu %6.3f s  (%s, %lld bytes)\n", wall, cpuSeconds(),
              saved ? "ok" : "FAILED", static_cast<long long>(fs::file_size(extended)));
  orva::savePlaylist(list, plain.c_str(), false);

  orva::Playlist loaded;
  start = Clock::now();
  cpuSeconds();
  orva::loadPlaylist(loaded, extended.c_str());
  wall = secondsSince(start);
  std::printf("load        extended M3U    %7.3f s  cpu %6.3f s  (%d entries, titles from the list)\n", wall,
              cpuSeconds(), loaded.count());

  orva::Playlist probed;
  before = bytesReadSoFar();
  start = Clock::now();
  cpuSeconds();
  orva::loadPlaylist(probed, plain.c_str());
  double load = secondsSince(start);
  perFile = probed.count() > 0
                ? (bytesReadSoFar() - before - static_cast<long long>(fs::file_size(plain))) / probed.count()
                : 0;
  std::printf(
      "load        plain M3U       %7.3f s  cpu %6.3f s  (%d entries, every file probed, %lld bytes per file)\n", load,
      cpuSeconds(), probed.count(), perFile);

  orva::SortState sortState;
  start = Clock::now();
  cpuSeconds();
  orva::sortPlaylist(loaded, sortState, orva::SORT_TITLE, {});
  orva::sortPlaylist(loaded, sortState, orva::SORT_TITLE, {});
  wall = secondsSince(start);
  std::printf("sort        title, twice    %7.3f s  cpu %6.3f s\n", wall, cpuSeconds());

  std::error_code ec;
  fs::remove_all(root, ec);
  return saved && loaded.count() == count && probed.count() == count ? 0 : 1;
}

// orva-cli list PATHS...: builds a play list the way the player does (files,
// folders with their subfolders, M3U lists, argument by argument) and prints
// each entry's index, shown duration and display text. --sort KEY sorts it,
// --save FILE writes it as an extended M3U list (--plain: bare paths).
// Exit status 1 when saving failed, 2 on a usage error.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/commands.h"
#include "platform/codepage.h"
#include "playlist/add_files.h"
#include "playlist/ordering.h"
#include "playlist/playlist_file.h"

namespace orva::cli {
namespace {

constexpr char kListUsage[] =
    "usage: orva-cli list [--sort KEY] [--save FILE.m3u] [--plain] PATH...\n"
    "Adds files, folders (with subfolders) and M3U lists to a play list and\n"
    "prints index, duration and title of each entry.\n"
    "  --sort KEY   title, artist, song, date or time (last-write time)\n"
    "  --save FILE  write the list as an extended M3U file\n"
    "  --plain      with --save: bare paths only\n";

struct SortName {
  const char* name;
  int32_t key;
};

constexpr SortName kSortNames[] = {
    {"title", SORT_TITLE}, {"artist", SORT_ARTIST}, {"song", SORT_SONG}, {"date", SORT_DATE}, {"time", SORT_TIMESTAMP},
};

struct ListOptions {
  int32_t sortKey = 0;
  const char* savePath = nullptr;
  bool plain = false;
};

int usage(const char* message, const char* detail) {
  std::fprintf(stderr, "orva-cli list: %s%s\n\n%s", message, detail, kListUsage);
  return 2;
}

bool isUtf8(const char* s) {
  for (auto p = reinterpret_cast<const unsigned char*>(s); *p != 0;) {
    int more = *p < 0x80 ? 0 : (*p >> 5) == 6 ? 1 : (*p >> 4) == 14 ? 2 : (*p >> 3) == 30 ? 3 : -1;
    if (more < 0) return false;
    for (++p; more > 0; --more, ++p) {
      if ((*p & 0xC0) != 0x80) return false;
    }
  }
  return true;
}

// Display texts hold cp932 tag text or file names in the platform's own
// encoding; names that already read as the terminal's UTF-8 pass unchanged.
std::string terminalText(const char* text) {
  if (platform::activeCodePage() == platform::CodePage::Utf8 && isUtf8(text)) return text;
  return platform::cp932ToTerminal(text);
}

void printList(const Playlist& list) {
  for (int32_t i = 0; i < list.count(); ++i) {
    const PlaylistEntry* e = list.entry(i);
    char duration[16];
    formatDuration(e->streamInfo.durationSeconds, duration, sizeof duration);
    std::printf("%4d  %5s  %s\n", static_cast<int>(i), duration, terminalText(e->displayText).c_str());
  }
}

}  // namespace

int runListCommand(int argc, char** argv) {
  ListOptions options;
  Playlist list;
  int paths = 0;
  for (int i = 0; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      std::fputs(kListUsage, stdout);
      return 0;
    }
    if (std::strcmp(arg, "--plain") == 0) {
      options.plain = true;
    } else if (std::strcmp(arg, "--save") == 0 || std::strcmp(arg, "--sort") == 0) {
      if (i + 1 >= argc) return usage("missing value after ", arg);
      const char* value = argv[++i];
      if (std::strcmp(arg, "--save") == 0) {
        options.savePath = value;
        continue;
      }
      for (const SortName& s : kSortNames) {
        if (std::strcmp(value, s.name) == 0) options.sortKey = s.key;
      }
      if (options.sortKey == 0) return usage("unknown sort key: ", value);
    } else if (std::strncmp(arg, "--", 2) == 0) {
      return usage("unknown option: ", arg);
    } else {
      ++paths;
      if (addPath(list, arg) < 0) std::fprintf(stderr, "orva-cli list: nothing added from %s\n", arg);
    }
  }
  if (paths == 0) return usage("no paths given", "");
  if (options.sortKey != 0) {
    SortState state;
    sortPlaylist(list, state, options.sortKey, {});
  }
  printList(list);
  if (options.savePath != nullptr && !savePlaylist(list, options.savePath, !options.plain)) {
    std::fprintf(stderr, "orva-cli list: cannot save %s%s\n", options.savePath,
                 list.count() == 0 ? " (empty list)" : "");
    return 1;
  }
  return 0;
}

}  // namespace orva::cli

// orva-cli lyrics: shows, writes and removes a file's Lyrics3 block, and
// shows the timed lines of the lyrics file beside an audio file (what the
// player's lyric lines show at a given time).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "orva_engine.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "tags/lyric_lines.h"
#include "tags/lyrics_file.h"

namespace orva::cli {
namespace {

constexpr char kLyricsUsage[] =
    "usage: orva-cli lyrics show FILE\n"
    "       orva-cli lyrics write FILE [--lyrics-file TEXTFILE] [--lyrics TEXT] [--info TEXT]\n"
    "                                  [--author T] [--album T] [--artist T] [--title T]\n"
    "       orva-cli lyrics remove FILE\n"
    "       orva-cli lyrics lines AUDIOFILE [SECONDS]\n"
    "show/write/remove work on the Lyrics3 block in front of the ID3v1 tag;\n"
    "lines loads the lyrics file beside AUDIOFILE (same name, .txt) and shows\n"
    "its timed lines, or the previous, current and next line at SECONDS.\n";

int usage() {
  std::fputs(kLyricsUsage, stderr);
  return 2;
}

int failed(const char* what, const char* path) {
  std::fprintf(stderr, "orva-cli: %s %s: %s\n", what, path, engineGetStatusText(engineGetStatus()));
  return 1;
}

// A slot's text (bounded: a full slot has no NUL) for the terminal.
std::string shown(const char* slot, size_t size) {
  size_t n = 0;
  while (n < size && slot[n] != '\0') ++n;
  return platform::cp932ToTerminal(std::string(slot, n));
}

std::unique_ptr<Lyrics3Fields> newFields() {
  auto f = std::make_unique<Lyrics3Fields>();
  std::memset(f.get(), 0, sizeof *f);
  return f;
}

int show(const char* path) {
  auto f = newFields();
  if (!readLyrics3File(path, f.get())) {
    if (engineGetStatus() == ENGINE_ERR_OPEN) return failed("cannot open", path);
    std::printf("%s: no Lyrics3 block\n", path);
    return 0;
  }
  std::printf("%s\n  indicators  %c%c\n", path, f->indicators[0], f->indicators[1]);
  std::printf("  author  %s\n  album   %s\n  artist  %s\n  title   %s\n", shown(f->author, 250).c_str(),
              shown(f->album, 250).c_str(), shown(f->artist, 250).c_str(), shown(f->title, 250).c_str());
  std::printf("  info    %s\n  image   %s\n  lyrics\n%s\n", shown(f->info, 60000).c_str(),
              shown(f->image, 60000).c_str(), shown(f->lyrics, 60000).c_str());
  return 0;
}

bool put(const std::string& typed, char* slot, size_t size, const char* name) {
  std::string cp932;
  if (!platform::terminalToCp932(typed, cp932)) {
    std::fprintf(stderr, "orva-cli: the %s holds characters cp932 cannot store\n", name);
    return false;
  }
  if (cp932.size() > size) {
    std::fprintf(stderr, "orva-cli: the %s is %zu bytes in cp932; the field holds %zu\n", name, cp932.size(), size);
    return false;
  }
  std::memset(slot, 0, size);
  std::memcpy(slot, cp932.data(), cp932.size());
  return true;
}

bool readText(const char* path, std::string& out) {
  platform::File file;
  if (!file.open(path, platform::FileMode::Read)) return false;
  int64_t size = file.size();
  if (size < 0 || size > 60000 * 4) return false;
  out.resize(static_cast<size_t>(size));
  return file.readAt(0, out.data(), size);
}

int write(const char* path, int argc, char** argv) {
  auto f = newFields();
  readLyrics3File(path, f.get());  // fields not given keep their text
  for (int i = 0; i < argc; i += 2) {
    if (i + 1 >= argc) return usage();
    std::string opt = argv[i];
    std::string value = argv[i + 1];
    bool ok = true;
    if (opt == "--lyrics-file") {
      if (!readText(argv[i + 1], value)) {
        std::fprintf(stderr, "orva-cli: cannot read %s\n", argv[i + 1]);
        return 1;
      }
      ok = put(value, f->lyrics, sizeof f->lyrics, "lyrics");
    } else if (opt == "--lyrics")
      ok = put(value, f->lyrics, sizeof f->lyrics, "lyrics");
    else if (opt == "--info")
      ok = put(value, f->info, sizeof f->info, "information text");
    else if (opt == "--author")
      ok = put(value, f->author, sizeof f->author, "author");
    else if (opt == "--album")
      ok = put(value, f->album, sizeof f->album, "album");
    else if (opt == "--artist")
      ok = put(value, f->artist, sizeof f->artist, "artist");
    else if (opt == "--title")
      ok = put(value, f->title, sizeof f->title, "title");
    else
      return usage();
    if (!ok) return 1;
  }
  if (!writeLyrics3(path, f.get())) return failed("cannot write the Lyrics3 block of", path);
  return show(path);
}

// The lines as the player loads them, in a list of the command's own: the
// tag library's loader and lookups, not the engine's list.
int lines(const char* audioPath, int argc, char** argv) {
  std::string lyricsPath = lyricsPathFor(audioPath);
  auto list = std::make_unique<LyricList>();
  if (!prepareLyricsFile(*list, lyricsPath.c_str(), false)) {
    std::printf("%s: no lyrics file\n", lyricsPath.c_str());
    return 0;
  }
  if (argc == 0) {
    for (int32_t i = 0; i < list->count; ++i) {
      const LyricLine& l = list->lines[i];
      std::printf("%6d.%03d %s %s", l.timeMs / 1000, l.timeMs % 1000, l.timed ? " " : "+",
                  platform::cp932ToTerminal(l.text).c_str());
    }
    return 0;
  }
  LyricWindow w{};
  lyricWindowAt(*list, std::atof(argv[0]) * 1000.0, w);
  std::printf("  %s  > %s  %s", platform::cp932ToTerminal(w.previous1).c_str(),
              platform::cp932ToTerminal(w.current).c_str(), platform::cp932ToTerminal(w.next1).c_str());
  return 0;
}

}  // namespace

int runLyricsCommand(int argc, char** argv) {
  if (argc < 2) return usage();
  const char* what = argv[0];
  const char* path = argv[1];
  if (std::strcmp(what, "show") == 0 && argc == 2) return show(path);
  if (std::strcmp(what, "write") == 0) return write(path, argc - 2, argv + 2);
  if (std::strcmp(what, "remove") == 0 && argc == 2) {
    if (!removeLyrics3(path)) return failed("cannot remove the Lyrics3 block of", path);
    std::printf("%s: done\n", path);
    return 0;
  }
  if (std::strcmp(what, "lines") == 0 && argc <= 3) return lines(path, argc - 2, argv + 2);
  return usage();
}

}  // namespace orva::cli

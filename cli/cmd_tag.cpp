// orva-cli tag: shows and sets a file's ID3v1 tag and its RIFF INFO text.
// Texts typed in the terminal are stored as cp932; one cp932 cannot hold,
// or one longer than its field, is refused before the file is touched.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "cli/commands.h"
#include "orva_engine.h"
#include "platform/codepage.h"
#include "tags/riff_walk.h"

namespace orva::cli {
namespace {

constexpr char kTagUsage[] =
    "usage: orva-cli tag show FILE\n"
    "       orva-cli tag set FILE [--title T] [--artist T] [--album T] [--year Y]\n"
    "                             [--comment T] [--genre N] [--track N]\n"
    "       orva-cli tag set-info FILE ID=TEXT...   (ID: INAM IART IPRD ICMT ICRD IGNR\n"
    "                             ICOP IENG ISRC ISFT IKEY ITCH ICMS IMED ISBJ IMP3 ILYC)\n"
    "Shows or sets the ID3v1 tag and the RIFF INFO text; set creates a tag when\n"
    "the file has none.\n";

int usage() {
  std::fputs(kTagUsage, stderr);
  return 2;
}

int failed(const char* what, const char* path) {
  std::fprintf(stderr, "orva-cli: %s %s: %s\n", what, path, engineGetStatusText(engineGetStatus()));
  return 1;
}

std::string shown(const char* cp932) { return platform::cp932ToTerminal(cp932); }

// The terminal's text as cp932 of at most `limit` bytes, or an error.
bool toField(const char* typed, size_t limit, char* field, const char* name) {
  std::string cp932;
  if (!platform::terminalToCp932(typed, cp932)) {
    std::fprintf(stderr, "orva-cli: the %s \"%s\" holds characters cp932 cannot store\n", name, typed);
    return false;
  }
  if (cp932.size() > limit) {
    std::fprintf(stderr, "orva-cli: the %s is %zu bytes in cp932; the field holds %zu\n", name, cp932.size(), limit);
    return false;
  }
  std::memset(field, 0, limit + 1);
  std::memcpy(field, cp932.data(), cp932.size());
  return true;
}

int showTag(const char* path) {
  Id3v11Record tag{};
  if (!readId3v11File(path, &tag)) return failed("cannot read", path);
  std::printf("%s\n", path);
  const int32_t layout = probeTagLayout(path);
  if (layout < 0 || (layout & 16) == 0) {
    std::printf("  no ID3v1 tag\n");
  } else {
    std::printf("  title    %s\n  artist   %s\n  album    %s\n  year     %s\n  comment  %s\n", shown(tag.title).c_str(),
                shown(tag.artist).c_str(), shown(tag.album).c_str(), shown(tag.year).c_str(),
                shown(tag.comment).c_str());
    std::printf("  genre    %d %s\n", tag.genre, tag.genreName);
    if (tag.track >= 0) std::printf("  track    %d\n", tag.track);
  }
  auto text = std::make_unique<InfoTextLong>();
  if (readInfoLong(path, text.get())) {
    std::printf("  RIFF INFO\n");
    for (int i = 0; i < kInfoLongSlotCount; ++i) {
      if (text->slots[i][0] != '\0') std::printf("    %s  %s\n", INFO_LONG_SLOT_IDS[i], shown(text->slots[i]).c_str());
    }
  }
  return 0;
}

bool number(const char* text, int lo, int hi, int32_t& out) {
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < lo || v > hi) return false;
  out = static_cast<int32_t>(v);
  return true;
}

int setTag(const char* path, int argc, char** argv) {
  Id3v11Record tag{};
  if (!readId3v11File(path, &tag)) return failed("cannot read", path);
  for (int i = 0; i < argc; i += 2) {
    if (i + 1 >= argc) return usage();
    const char* opt = argv[i];
    const char* value = argv[i + 1];
    bool ok = true;
    if (std::strcmp(opt, "--title") == 0)
      ok = toField(value, 30, tag.title, "title");
    else if (std::strcmp(opt, "--artist") == 0)
      ok = toField(value, 30, tag.artist, "artist");
    else if (std::strcmp(opt, "--album") == 0)
      ok = toField(value, 30, tag.album, "album");
    else if (std::strcmp(opt, "--year") == 0)
      ok = toField(value, 4, tag.year, "year");
    else if (std::strcmp(opt, "--comment") == 0)
      ok = toField(value, tag.track >= 0 ? 28 : 30, tag.comment, "comment");
    else if (std::strcmp(opt, "--genre") == 0)
      ok = number(value, 0, 255, tag.genre);
    else if (std::strcmp(opt, "--track") == 0)
      ok = number(value, 0, 255, tag.track);
    else
      return usage();
    if (!ok) {
      if (std::strncmp(opt, "--genre", 7) == 0 || std::strncmp(opt, "--track", 7) == 0)
        std::fprintf(stderr, "orva-cli: %s takes a number from 0 to 255\n", opt);
      return 1;
    }
  }
  if (!writeId3v11Tag(path, &tag, 0, 1)) return failed("cannot write the tag of", path);
  return showTag(path);
}

int setInfo(const char* path, int argc, char** argv) {
  auto text = std::make_unique<InfoTextLong>();
  readInfoLong(path, text.get());  // a file without INFO text starts empty
  for (int i = 0; i < argc; ++i) {
    const char* eq = std::strchr(argv[i], '=');
    int slot = -1;
    for (int s = 0; eq != nullptr && eq - argv[i] == 4 && s < kInfoLongSlotCount; ++s)
      if (std::strncmp(argv[i], INFO_LONG_SLOT_IDS[s], 4) == 0) slot = s;
    if (slot < 0) return usage();
    if (!toField(eq + 1, 2047, text->slots[slot], INFO_LONG_SLOT_IDS[slot])) return 1;
  }
  if (!writeInfoLong(path, text.get())) return failed("cannot write the INFO text of", path);
  return showTag(path);
}

}  // namespace

int runTagCommand(int argc, char** argv) {
  if (argc < 2) return usage();
  const char* what = argv[0];
  const char* path = argv[1];
  if (std::strcmp(what, "show") == 0 && argc == 2) return showTag(path);
  if (std::strcmp(what, "set") == 0) return setTag(path, argc - 2, argv + 2);
  if (std::strcmp(what, "set-info") == 0) return setInfo(path, argc - 2, argv + 2);
  return usage();
}

}  // namespace orva::cli

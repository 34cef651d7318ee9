// orva-cli info FILE...: opens each file with the engine and prints what it
// learned: the stream, the frame header summary, the ID3v1 tag and an ID3v2
// tag's texts. ID3v1 texts are cp932 and ID3v2 texts UTF-8; both are
// converted for the terminal. Exit status 1 when any file
// failed, 2 on a usage error.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/commands.h"
#include "orva_engine.h"
#include "platform/codepage.h"
#include "tags/file_info.h"

namespace orva::cli {
namespace {

constexpr char kInfoUsage[] =
    "usage: orva-cli info FILE...\n"
    "Opens each file and shows its stream, frame header, ID3v1 tag and ID3v2 texts.\n";

const char* modeName(int32_t mode) {
  switch (mode) {
    case 0: return "stereo";
    case 1: return "joint stereo";
    case 2: return "dual channel";
    case 3: return "single channel";
    default: return "?";
  }
}

const char* versionName(int32_t version) {
  switch (version) {
    case 1: return "MPEG-1";
    case 2: return "MPEG-2";
    case 3: return "MPEG-2.5";
    default: return "?";
  }
}

std::string text(const char* cp932) { return platform::cp932ToTerminal(cp932); }

void printStream(const StreamInfo& s) {
  std::printf("  title        %s\n", text(s.title).c_str());
  std::printf("  artist       %s\n", text(s.artist).c_str());
  std::printf("  channels     %d\n", s.channels);
  std::printf("  bit rate     %d\n", s.bitRate);
  std::printf("  sample rate  %d Hz\n", s.sampleRate);
  std::printf("  duration     %d s (nominal %d s, %d samples)\n", s.durationSeconds, engineGetNominalDuration(),
              engineGetTotalSamples());
}

void printHeader(const FileInfo& f) {
  if (f.layer == 0) {
    std::printf("  format       PCM WAVE\n");
  } else {
    std::printf("  format       %s Layer %d, %s, %s\n", versionName(f.version), f.layer, modeName(f.mode),
                f.bitrate == 0 ? "VBR header" : "no VBR header");
    std::printf("  bits         CRC %s, private %d, copyright %d, original %d, emphasis %d\n", f.noCrc ? "no" : "yes",
                f.privateBit, f.copyright, f.original, f.emphasis);
  }
  std::printf("  file size    %d bytes\n", f.fileSize);
  std::printf("  frames       %d (%d s)\n", f.frames, f.seconds);
}

// The open file's tag; the layout probe tells a blank tag from none.
void printTag(const char* path) {
  Id3v1Record tag{};
  const int32_t layout = probeTagLayout(path);
  if (layout < 0 || (layout & TAG_LAYOUT_ID3V1) == 0 || engineGetTag(&tag) != 1) {
    std::printf("  ID3v1        none\n");
    return;
  }
  std::printf("  ID3v1 title  %s\n", text(tag.title).c_str());
  std::printf("  ID3v1 artist %s\n", text(tag.artist).c_str());
  std::printf("  ID3v1 album  %s\n", text(tag.album).c_str());
  std::printf("  ID3v1 year   %s\n", text(tag.year).c_str());
  std::printf("  ID3v1 comment %s\n", text(tag.comment).c_str());
  std::printf("  ID3v1 genre  %d %s\n", tag.genre, tag.genreName);
}

void printId3v2(const char* path) {
  Id3v2Texts tag;
  if (readFileInfoAt(path, nullptr, nullptr, nullptr, nullptr, &tag) != ENGINE_OK || tag.majorVersion == 0) {
    std::printf("  ID3v2        none\n");
    return;
  }
  const auto line = [](const char* name, const std::string& utf8) {
    if (!utf8.empty()) std::printf("  ID3v2 %-6s %s\n", name, platform::utf8ToActiveCodePage(utf8).c_str());
  };
  std::printf("  ID3v2        version 2.%d, %lld bytes\n", tag.majorVersion, static_cast<long long>(tag.tagBytes));
  line("title", tag.title);
  line("artist", tag.artist);
  line("album", tag.album);
  line("year", tag.year);
  line("genre", tag.genre);
  line("comment", tag.comment);
  if (!tag.lyrics.empty()) std::printf("  ID3v2 lyrics %zu bytes\n", tag.lyrics.size());
}

// 0 when the file opened, 1 when it did not.
int showFile(const char* path) {
  std::printf("%s\n", path);
  StreamInfo stream{};
  if (engineOpen(path, &stream) != 1) {
    const int32_t code = engineGetStatus();
    std::printf("  error        status %d: %s\n", code, engineGetStatusText(code));
    return 1;
  }
  printStream(stream);
  FileInfo info{};
  if (engineGetHeaderInfo(&info) == 1) printHeader(info);
  printTag(path);
  printId3v2(path);
  engineClose();
  return 0;
}

}  // namespace

int runInfoCommand(int argc, char** argv) {
  if (argc < 1) {
    std::fprintf(stderr, "orva-cli info: no file given\n\n%s", kInfoUsage);
    return 2;
  }
  if (std::strcmp(argv[0], "--help") == 0 || std::strcmp(argv[0], "-h") == 0) {
    std::fputs(kInfoUsage, stdout);
    return 0;
  }
  engineInit();
  int failures = 0;
  for (int i = 0; i < argc; ++i) {
    if (i > 0) std::printf("\n");
    failures += showFile(argv[i]);
  }
  engineShutdown();
  std::fflush(stdout);
  return failures == 0 ? 0 : 1;
}

}  // namespace orva::cli

// orva-cli: the command-line host of the Orva engine. Dispatches to the
// subcommands in cli/commands.h; exit status 2 for usage errors.
#include <cstdio>
#include <cstring>

#include "cli/commands.h"

namespace {

constexpr char kUsage[] =
    "usage: orva-cli <command> [arguments]\n"
    "\n"
    "commands:\n"
    "  info FILE...       show the stream, header and ID3v1 tag of each file\n"
    "  decode ...         decode an MPEG audio file to a WAV file\n"
    "                     (orva-cli decode --help for its arguments)\n"
    "  list PATH...       build a play list from files, folders and M3U lists\n"
    "                     (orva-cli list --help for its options)\n"
    "  tag ...            show or set the ID3v1 tag and RIFF INFO text\n"
    "  lyrics ...         show, write or remove a Lyrics3 block; timed lyric lines\n"
    "  convert ...        RIFF MP3, WAVE wrapper, bare MPEG, strip a leading header\n"
    "  encode IN -o OUT   encode a PCM WAV file into an MPEG Layer-3 stream\n"
    "  play FILE...       play files, folders or lists on the sound device\n"
    "                     (orva-cli play --help for its keys and options)\n"
    "  --help             show this text\n";

int usageError(const char* message, const char* detail) {
  std::fprintf(stderr, "orva-cli: %s%s\n\n%s", message, detail, kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usageError("no command given", "");
  const char* command = argv[1];
  if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0 || std::strcmp(command, "help") == 0) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (std::strcmp(command, "info") == 0) return orva::cli::runInfoCommand(argc - 2, argv + 2);
  if (std::strcmp(command, "decode") == 0) return orva::cli::runDecodeCommand(argc - 2, argv + 2);
  if (std::strcmp(command, "play") == 0) return orva::cli::runPlayCommand(argc - 2, argv + 2);
  if (std::strcmp(command, "tag") == 0) return orva::cli::runTagCommand(argc - 2, argv + 2);
  if (std::strcmp(command, "lyrics") == 0) return orva::cli::runLyricsCommand(argc - 2, argv + 2);
  if (std::strcmp(command, "convert") == 0) return orva::cli::runConvertCommand(argc - 2, argv + 2);
  if (std::strcmp(command, "encode") == 0) return orva::cli::runEncodeCommand(argc - 2, argv + 2);
  if (std::strcmp(command, "list") == 0) return orva::cli::runListCommand(argc - 2, argv + 2);
  return usageError("unknown command: ", command);
}

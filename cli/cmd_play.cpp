// orva-cli play: a terminal player on the engine. Shows the title, the
// position and duration and the state on one line that it redraws; keys:
// space pause/resume, left/right seek 5 s, up/down volume, n/p next and
// previous track, q quit. Plays the tracks in order (or by --mode) and ends
// after the last one. Without a terminal it just plays. --spectrum and
// --waveform draw what sounds under the status line.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/analyser_view.h"
#include "cli/commands.h"
#include "cli/terminal.h"
#include "orva_engine.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "playlist/add_files.h"
#include "playlist/play_mode.h"
#include "playlist/playlist.h"
#include "tags/file_info.h"

namespace orva::cli {
namespace {

constexpr int32_t kSeekStepSeconds = 5;
constexpr int32_t kVolumeStep = 10;
constexpr int32_t kTickMs = 50;

struct PlayArgs {
  std::vector<const char*> paths;
  bool silentDevice = false;
  int32_t mode = -1;  // -1: in order, once
  bool gapless = false;
  std::optional<ViewKind> view;  // drawn under the status line
};

void printUsage(std::FILE* to) {
  std::fputs(
      "usage: orva-cli play [options] FILE|FOLDER|LIST...\n"
      "  --device alsa|winmm|null  the sound device (default: the system's);\n"
      "                            null plays on the engine's silent device\n"
      "  --mode loop|repeat|shuffle|stop  what follows the end of a track\n"
      "  --gapless                 leave out the encoder's delay and padding\n"
      "  --spectrum                draw what sounds as a spectrum (on a terminal)\n"
      "  --waveform                draw what sounds as a waveform (on a terminal)\n"
      "keys: space pause/resume, left/right seek 5 s, up/down volume,\n"
      "      n/p next/previous track, q quit\n",
      to);
}

int32_t modeNamed(const std::string& name) {
  if (name == "loop") return LoopList;
  if (name == "repeat") return RepeatOne;
  if (name == "shuffle") return Shuffle;
  if (name == "stop") return StopAfterTrack;
  return -2;
}

// 0 when parsed, -1 for help, else the exit status.
int parseArgs(int argc, char** argv, PlayArgs& a) {
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-h" || arg == "--help") return -1;
    if (arg == "--device" && i + 1 < argc) {
      const std::string d = argv[++i];
      if (d == "null" || d == "virtual") {
        a.silentDevice = true;
      } else if (d != "alsa" && d != "winmm" && d != "system") {
        return 2;
      }
    } else if (arg == "--spectrum") {
      a.view = ViewKind::Spectrum;
    } else if (arg == "--waveform") {
      a.view = ViewKind::Waveform;
    } else if (arg == "--gapless") {
      a.gapless = true;
    } else if (arg == "--mode" && i + 1 < argc) {
      a.mode = modeNamed(argv[++i]);
      if (a.mode < -1) return 2;
    } else if (!arg.empty() && arg[0] != '-') {
      a.paths.push_back(argv[i]);
    } else {
      return 2;
    }
  }
  return a.paths.empty() ? 2 : 0;
}

std::string clock(int32_t seconds) {
  char text[16];
  std::snprintf(text, sizeof text, "%d:%02d", seconds / 60, seconds % 60);
  return text;
}

// The status sentence, and the system's reason when the engine kept one.
void printFailure(const char* path, int32_t status) {
  char reason[256];
  if (engineGetSystemErrorText(reason, sizeof reason) > 0) {
    std::fprintf(stderr, "\norva-cli play: cannot play %s: %s\n  %s\n", path, engineGetStatusText(status), reason);
  } else {
    std::fprintf(stderr, "\norva-cli play: cannot play %s: %s\n", path, engineGetStatusText(status));
  }
}

const char* stateName(int32_t state) {
  return state == ENGINE_PAUSED ? "paused" : (state == ENGINE_PLAYING ? "playing" : "stopped");
}

class Player {
 public:
  Player(const PlayArgs& args, TerminalKeys& keys) : args_(args), keys_(keys) {
    if (args.view && enableCursorMovement())
      view_.emplace(*args.view, platform::activeCodePage() == platform::CodePage::Utf8);
  }

  // The exit status.
  int run(Playlist& list) {
    int32_t index = 0;
    while (index >= 0 && index < list.count()) {
      const PlaylistEntry* entry = list.entry(index);
      list.currentIndex = index;
      const Outcome outcome = playTrack(entry->path);
      if (outcome == Outcome::Quit) return 0;
      if (outcome == Outcome::NoDevice) return 1;
      if (outcome == Outcome::Previous) {
        index = previousEntryIndex(index, list.count());
      } else if (args_.mode < 0) {
        index = index + 1;
      } else if (outcome == Outcome::Ended && args_.mode == StopAfterTrack) {
        return 0;
      } else {
        index = nextEntryIndex(args_.mode == StopAfterTrack ? LoopList : args_.mode, index, list.count(), 1, shuffle_,
                               &std::rand);
      }
    }
    return 0;
  }

 private:
  enum class Outcome { Ended, Next, Previous, Quit, Failed, NoDevice };

  // The ID3v1 names the engine read, else those of an ID3v2 tag, else the
  // path.
  static std::string trackTitle(const char* path, const StreamInfo& info) {
    if (info.title[0] != '\0') {
      std::string title = platform::cp932ToTerminal(info.title);
      if (info.artist[0] != '\0' && std::strcmp(info.artist, info.title) != 0) {
        title += " - " + platform::cp932ToTerminal(info.artist);
      }
      return title;
    }
    Id3v2Texts tag;
    if (readFileInfoAt(path, nullptr, nullptr, nullptr, nullptr, &tag) != ENGINE_OK || tag.title.empty()) return path;
    const std::string title = platform::utf8ToActiveCodePage(tag.title);
    return tag.artist.empty() ? title : platform::utf8ToActiveCodePage(tag.artist) + " - " + title;
  }

  Outcome playTrack(const char* path) {
    StreamInfo info{};
    if (engineOpen(path, &info) != 1) {
      std::fprintf(stderr, "\norva-cli play: cannot play %s: %s\n", path, engineGetStatusText(engineGetStatus()));
      return Outcome::Failed;
    }
    lyricsLoaded_ = loadLyricsBeside(path) == 1;
    title_ = trackTitle(path, info);
    duration_ = info.durationSeconds;
    if (enginePlay() != 1) {
      const int32_t status = engineGetStatus();
      printFailure(path, status);
      if (status == ENGINE_ERR_DEVICE_OPEN && !args_.silentDevice) {
        std::fprintf(stderr, "Play on the silent device instead with: orva-cli play --device null ...\n");
        return Outcome::NoDevice;
      }
      return status == ENGINE_ERR_DEVICE_OPEN ? Outcome::NoDevice : Outcome::Failed;
    }
    lastLyric_.clear();
    for (;;) {
      const Outcome keyOutcome = handleKeys();
      if (keyOutcome != Outcome::Ended) {
        engineStop();
        finishLine();
        return keyOutcome;
      }
      int32_t seconds = 0;
      const int32_t state = engineGetState(&seconds);
      show(state, state == ENGINE_STOPPED ? duration_ : seconds);
      if (state == ENGINE_STOPPED) {
        finishLine();
        return Outcome::Ended;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(kTickMs));
    }
  }

  // Outcome::Ended while the track goes on.
  Outcome handleKeys() {
    for (int key = keys_.readKey(); key != KEY_NONE; key = keys_.readKey()) {
      int32_t seconds = 0;
      const int32_t state = engineGetState(&seconds);
      int32_t left = 0, right = 0;
      switch (key) {
        case ' ':
          if (state == ENGINE_PAUSED) {
            engineResume();
          } else {
            enginePause();
          }
          break;
        case KEY_LEFT: engineSeekSeconds(seconds > kSeekStepSeconds ? seconds - kSeekStepSeconds : 0); break;
        case KEY_RIGHT: engineSeekSeconds(seconds + kSeekStepSeconds); break;
        case KEY_UP:
        case KEY_DOWN: {
          engineGetVolume(&left, &right);
          const int32_t step = key == KEY_UP ? kVolumeStep : -kVolumeStep;
          const int32_t volume = std::max(0, std::min(100, std::max(left, right) + step));
          engineSetVolume(volume, volume);
          break;
        }
        case 'n': return Outcome::Next;
        case 'p': return Outcome::Previous;
        case 'q': return Outcome::Quit;
        default: break;
      }
    }
    return Outcome::Ended;
  }

  void show(int32_t state, int32_t seconds) {
    if (lyricsLoaded_) {
      LyricWindow window{};
      if (getLyricWindow(&window) == 1 && lastLyric_ != window.current) {
        lastLyric_ = window.current;
        std::string line = lastLyric_;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (!line.empty()) std::printf("\r%-78s\n", ("  " + platform::cp932ToTerminal(line)).c_str());
      }
    }
    int32_t left = 0, right = 0;
    engineGetVolume(&left, &right);
    const std::string text = title_ + "  " + clock(seconds) + " / " + clock(duration_) + "  " + stateName(state) +
                             "  vol " + std::to_string(std::max(left, right));
    if (outputIsTerminal()) {
      std::printf("\r%-78.78s", text.c_str());
      drawView();
      std::fflush(stdout);
      shown_ = true;
    } else if (state != lastState_ || seconds / 10 != lastSeconds_ / 10) {
      std::printf("%s\n", text.c_str());
      std::fflush(stdout);
    }
    lastState_ = state;
    lastSeconds_ = seconds;
  }

  // The rows under the status line; the cursor goes back to the status
  // line's end, where the next redraw and the lyrics expect it.
  void drawView() {
    if (!view_) return;
    if (view_->kind() == ViewKind::Spectrum) {
      engineGetSpectrum(left_, right_);
    } else {
      engineGetWaveform(left_, right_);
    }
    for (const std::string& row : view_->draw(left_, right_)) std::printf("\n%s\x1b[K", row.c_str());
    std::printf("\x1b[%dA\r\x1b[78C", kViewRows);
  }

  void finishLine() {
    if (shown_ && view_) std::printf("\x1b[%dB", kViewRows);
    if (shown_) std::printf("\n");
    shown_ = false;
    lastState_ = -1;
  }

  const PlayArgs& args_;
  TerminalKeys& keys_;
  ShuffleState shuffle_;
  std::string title_;
  std::string lastLyric_;
  int32_t duration_ = 0;
  std::optional<AnalyserView> view_;
  int32_t left_[256] = {};
  int32_t right_[256] = {};
  bool lyricsLoaded_ = false;
  bool shown_ = false;
  int32_t lastState_ = -1;
  int32_t lastSeconds_ = 0;
};

}  // namespace

int runPlayCommand(int argc, char** argv) {
  PlayArgs args;
  const int parsed = parseArgs(argc, argv, args);
  if (parsed == -1) {
    printUsage(stdout);
    return 0;
  }
  if (parsed != 0) {
    std::fputs("orva-cli play: bad arguments\n", stderr);
    printUsage(stderr);
    return 2;
  }
  Playlist list;
  for (const char* path : args.paths) {
    if (addPath(list, path) < 0 && list.count() == 0 && !platform::fileExists(path)) {
      std::fprintf(stderr, "orva-cli play: %s: no such file or folder\n", path);
    }
  }
  if (list.count() == 0) {
    std::fputs("orva-cli play: nothing to play\n", stderr);
    return 1;
  }
  engineInit();
  engineSetGapless(args.gapless ? 1 : 0);
  if (args.silentDevice) {
    engineSetDevice(ENGINE_DEVICE_SILENT);
    std::printf("playing on the silent device\n");
  }
  TerminalKeys keys;
  Player player(args, keys);
  const int status = player.run(list);
  engineShutdown();
  return status;
}

}  // namespace orva::cli

// The player's settings file: options, window geometry, equalizer values,
// decoder settings and the play list position, read once at start-up and
// written once at shutdown. The file's existence is the save-settings
// option. The shell maps these values onto its windows and menus.
#pragma once

#include <cstdint>

#include "orva_engine.h"
#include "platform/profile_file.h"

namespace orva {

inline constexpr int32_t kEqualizerBands = 10;

struct Settings {
  int32_t saveSettingsEnabled;              // the file existed at start-up
  int32_t stickyMode;                       // Option/Kuttuki
  int32_t alwaysOnTop;                      // Option/ShowTop
  int32_t compactMode;                      // Option/MiniWin
  int32_t playMode;                         // Option/PlayMode, taken as read
  int32_t equalizerVisible;                 // Equalizer/Visible
  int32_t equalizerEnabled;                 // Equalizer/Enable
  int32_t equalizerBands[kEqualizerBands];  // Equalizer/Eq1..Eq10
  int32_t lyricsVisible;                    // Lyrics/Visible
  int32_t windowPlaced;                     // 1 when the rectangle below came from the file
  int32_t windowTop;
  int32_t windowLeft;
  int32_t windowWidth;
  int32_t windowHeight;
  int32_t lastHeight;       // Window/LastHight
  DecoderSettings decoder;  // Decoder/inputBlock ... outputSleep
  int32_t gapless;          // Decoder/Gapless: trim the encoder's delay and padding
  int32_t engineVersion;    // Decoder/Version, written only
  int32_t currentIndex;     // Player/NowIndex
};

// The values in force when there is no settings file.
Settings settingsWithoutFile();
// Reads a present file's values; keys that are missing take their defaults.
// NowIndex is read only when the program was started without arguments.
Settings readSettings(const platform::ProfileFile& file, bool commandLinePresent);
// Stores every key into `file`, keeping whatever else it holds.
void writeSettings(const Settings& settings, platform::ProfileFile& file);

// Start-up: no file (or a directory) at `settingsPath` gives
// settingsWithoutFile(); otherwise the file's values with saving enabled.
Settings loadSettings(const char* settingsPath, bool commandLinePresent);
// Shutdown: with saving off the file is deleted; otherwise it is rewritten
// with our keys (other sections and keys stay), the old file staying whole
// until the new one replaces it. False when a write failed or a present
// file could not be read (it is then left as it was).
bool saveSettings(const char* settingsPath, const Settings& settings);

}  // namespace orva

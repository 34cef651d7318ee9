// Settings file keys, defaults and the two default sets. Key names are the
// ones the file has always used ("LastHight" and "Kuttuki" included).
#include "shell/rules/settings.h"

#include <cstdio>

#include "platform/file.h"

namespace orva {

namespace {

constexpr int32_t kEngineVersion = 159;

int32_t readFlag(const platform::ProfileFile& file, const char* section, const char* key) {
  return file.getInt(section, key, 0) == 1 ? 1 : 0;
}

void bandKey(int band, char* key, size_t size) { std::snprintf(key, size, "Eq%d", band + 1); }

}  // namespace

Settings settingsWithoutFile() {
  Settings s{};
  s.lastHeight = 100;
  s.decoder = DecoderSettings{6, 4, 1, 0};
  s.engineVersion = kEngineVersion;
  return s;
}

Settings readSettings(const platform::ProfileFile& file, bool commandLinePresent) {
  Settings s = settingsWithoutFile();
  s.saveSettingsEnabled = 1;
  s.stickyMode = readFlag(file, "Option", "Kuttuki");
  s.alwaysOnTop = readFlag(file, "Option", "ShowTop");
  s.equalizerVisible = readFlag(file, "Equalizer", "Visible");
  s.lyricsVisible = readFlag(file, "Lyrics", "Visible");
  s.compactMode = readFlag(file, "Option", "MiniWin");
  s.windowPlaced = 1;
  s.windowTop = file.getInt("Window", "Top", 0);
  s.windowLeft = file.getInt("Window", "Left", 0);
  s.windowWidth = file.getInt("Window", "Width", 0);
  s.windowHeight = file.getInt("Window", "Height", 0);
  s.lastHeight = file.getInt("Window", "LastHight", 100);
  s.playMode = file.getInt("Option", "PlayMode", 0);
  s.decoder.inputBlock = file.getInt("Decoder", "inputBlock", 30);
  s.decoder.outputBlock = file.getInt("Decoder", "outputBlock", 20);
  s.decoder.inputSleep = file.getInt("Decoder", "inputSleep", 5);
  s.decoder.outputSleep = file.getInt("Decoder", "outputSleep", 0);
  s.gapless = readFlag(file, "Decoder", "Gapless");
  s.equalizerEnabled = readFlag(file, "Equalizer", "Enable");
  for (int band = 0; band < kEqualizerBands; ++band) {
    char key[8];
    bandKey(band, key, sizeof key);
    s.equalizerBands[band] = file.getInt("Equalizer", key, 0);
  }
  if (!commandLinePresent) s.currentIndex = file.getInt("Player", "NowIndex", 0);
  return s;
}

void writeSettings(const Settings& s, platform::ProfileFile& file) {
  file.setInt("Window", "Top", s.windowTop);
  file.setInt("Window", "Left", s.windowLeft);
  file.setInt("Window", "Width", s.windowWidth);
  file.setInt("Window", "Height", s.windowHeight);
  file.setInt("Window", "LastHight", s.lastHeight);
  file.setInt("Option", "PlayMode", s.playMode);
  file.setInt("Option", "Kuttuki", s.stickyMode != 0 ? 1 : 0);
  file.setInt("Option", "ShowTop", s.alwaysOnTop != 0 ? 1 : 0);
  file.setInt("Lyrics", "Visible", s.lyricsVisible != 0 ? 1 : 0);
  file.setInt("Equalizer", "Visible", s.equalizerVisible != 0 ? 1 : 0);
  file.setInt("Equalizer", "Enable", s.equalizerEnabled != 0 ? 1 : 0);
  file.setInt("Option", "MiniWin", s.compactMode != 0 ? 1 : 0);
  for (int band = 0; band < kEqualizerBands; ++band) {
    char key[8];
    bandKey(band, key, sizeof key);
    file.setInt("Equalizer", key, s.equalizerBands[band]);
  }
  file.setInt("Decoder", "Version", s.engineVersion);
  file.setInt("Decoder", "inputBlock", s.decoder.inputBlock);
  file.setInt("Decoder", "outputBlock", s.decoder.outputBlock);
  file.setInt("Decoder", "inputSleep", s.decoder.inputSleep);
  file.setInt("Decoder", "outputSleep", s.decoder.outputSleep);
  // Only a switched-on value is stored: a file that never had the key keeps
  // its lines as they were, and one that has it keeps its own value.
  if (s.gapless != 0) file.setInt("Decoder", "Gapless", 1);
  file.setInt("Player", "NowIndex", s.currentIndex);
}

Settings loadSettings(const char* settingsPath, bool commandLinePresent) {
  if (settingsPath == nullptr || !platform::fileExists(settingsPath)) return settingsWithoutFile();
  platform::ProfileFile file;
  file.load(settingsPath);  // an unreadable file reads as one without keys
  return readSettings(file, commandLinePresent);
}

bool saveSettings(const char* settingsPath, const Settings& settings) {
  if (settingsPath == nullptr) return false;
  if (settings.saveSettingsEnabled == 0) {
    if (platform::fileExists(settingsPath)) platform::removeFile(settingsPath);
    return true;
  }
  platform::ProfileFile file;
  if (platform::fileExists(settingsPath) && !file.load(settingsPath)) return false;
  writeSettings(settings, file);
  return file.save(settingsPath);
}

}  // namespace orva

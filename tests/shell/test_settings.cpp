#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/codepage.h"
#include "platform/file.h"
#include "platform/profile_file.h"
#include "shell/rules/settings.h"
#include "tests/support/test_support.h"

namespace orva {
namespace {

namespace test {
using namespace orva::test;

void writeText(const std::string& path, const std::string& text) {
  writeFileBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string readText(const std::string& path) {
  std::vector<uint8_t> bytes = readFileBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace test

using platform::ProfileFile;

TEST(ProfileFile, NamesIgnoreCaseAndBlanksAndTheFirstMatchWins) {
  ProfileFile f;
  f.parse(
      "; comment\r\n[option]\r\n  kuttuki = 1 \r\nKuttuki=0\r\nQuoted=\"42\"\r\n[ Window "
      "]\nTop=-5\nEmpty=\nWord=abc\nSum=12ab");
  EXPECT_EQ(f.getInt("Option", "Kuttuki", 9), 1);
  EXPECT_EQ(f.getInt("OPTION", "quoted", 9), 42);
  EXPECT_EQ(f.getInt("Window", "Top", 9), -5);
  EXPECT_EQ(f.getInt("Window", "Empty", 9), 9);
  EXPECT_EQ(f.getInt("Window", "Word", 9), 0);
  EXPECT_EQ(f.getInt("Window", "Sum", 9), 12);  // the last line has no line feed and still counts
  EXPECT_EQ(f.getInt("Window", "Missing", 9), 9);
  EXPECT_EQ(f.getInt("Nowhere", "Top", 9), 9);
}

// ゾ ends in 0x5D, the closing bracket; ア (0x83 0x41) and ヂ (0x83 0x61)
// differ only in a trail byte that is an ASCII letter's.
TEST(ProfileFile, DoubleByteNamesAreReadByCharacters) {
  platform::setActiveCodePage(platform::CodePage::Cp932);
  ProfileFile f;
  f.parse("[\x83\x5D\x81\x5B\x83\x93]\r\n\x83\x41=1\r\n\x83\x61=2\r\n");
  EXPECT_EQ(f.getInt("\x83\x5D\x81\x5B\x83\x93", "\x83\x41", 9), 1);
  EXPECT_EQ(f.getInt("\x83\x5D\x81\x5B\x83\x93", "\x83\x61", 9), 2);
  platform::setActiveCodePage(platform::CodePage::System);
}

TEST(ProfileFile, WritesKeepEverythingElseInPlace) {
  ProfileFile f;
  f.parse("[Mine]\r\nkeep=yes\r\n\r\n[option]\r\n; note\r\nplaymode=2\r\nOther=x\r\n\r\n[Tail]\r\nz=1\r\n");
  f.setInt("Option", "PlayMode", 3);
  f.setInt("Option", "Kuttuki", 1);
  f.setInt("Player", "NowIndex", -2);
  EXPECT_EQ(f.render(),
            "[Mine]\r\nkeep=yes\r\n\r\n[option]\r\n; note\r\nplaymode=3\r\nOther=x\r\nKuttuki=1\r\n\r\n"
            "[Tail]\r\nz=1\r\n[Player]\r\nNowIndex=-2\r\n");
}

class SettingsFileTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  std::string path = dir.file("orva.ini");
};

TEST_F(SettingsFileTest, NoFileGivesTheFirstRunValues) {
  Settings s = loadSettings(path.c_str(), false);
  EXPECT_EQ(s.saveSettingsEnabled, 0);
  EXPECT_EQ(s.windowPlaced, 0);
  EXPECT_EQ(s.lastHeight, 100);
  EXPECT_EQ(s.decoder.inputBlock, 6);
  EXPECT_EQ(s.decoder.outputBlock, 4);
  EXPECT_EQ(s.decoder.inputSleep, 1);
  EXPECT_EQ(s.decoder.outputSleep, 0);
  EXPECT_EQ(s.currentIndex, 0);
  // A directory of that name is no settings file either.
  std::filesystem::create_directory(path);
  EXPECT_EQ(loadSettings(path.c_str(), false).saveSettingsEnabled, 0);
}

TEST_F(SettingsFileTest, AFileWithoutKeysGivesTheFileDefaults) {
  test::writeText(path, "[Option]\r\n");
  Settings s = loadSettings(path.c_str(), false);
  EXPECT_EQ(s.saveSettingsEnabled, 1);
  EXPECT_EQ(s.decoder.inputBlock, 30);
  EXPECT_EQ(s.decoder.outputBlock, 20);
  EXPECT_EQ(s.decoder.inputSleep, 5);
  EXPECT_EQ(s.decoder.outputSleep, 0);
  EXPECT_EQ(s.lastHeight, 100);
  EXPECT_EQ(s.playMode, 0);
}

TEST_F(SettingsFileTest, FlagsAreOnOnlyForOneAndNowIndexOnlyWithoutArguments) {
  test::writeText(path, "[Option]\nKuttuki=2\nShowTop=1\nPlayMode=7\n[Player]\nNowIndex=12\n[Window]\nLastHight=250\n");
  Settings s = loadSettings(path.c_str(), false);
  EXPECT_EQ(s.stickyMode, 0);
  EXPECT_EQ(s.alwaysOnTop, 1);
  EXPECT_EQ(s.playMode, 7);
  EXPECT_EQ(s.lastHeight, 250);
  EXPECT_EQ(s.currentIndex, 12);
  EXPECT_EQ(loadSettings(path.c_str(), true).currentIndex, 0);
}

TEST_F(SettingsFileTest, SavedValuesReadBackAndForeignKeysSurvive) {
  test::writeText(path, "[Plugin]\r\nColour=red\r\n[Option]\r\nKuttuki=0\r\n");
  Settings s = loadSettings(path.c_str(), false);
  s.stickyMode = 1;
  s.playMode = 2;
  s.windowLeft = -40;
  s.equalizerBands[9] = -120;
  s.equalizerEnabled = 1;
  s.currentIndex = 5;
  ASSERT_TRUE(saveSettings(path.c_str(), s));
  std::string text = test::readText(path);
  EXPECT_EQ(text.rfind("[Plugin]\r\nColour=red\r\n[Option]\r\nKuttuki=1\r\n", 0), 0u) << text;
  EXPECT_NE(text.find("[Window]\r\nTop=0\r\nLeft=-40\r\n"), std::string::npos);
  EXPECT_NE(text.find("LastHight=100\r\n"), std::string::npos);
  EXPECT_NE(text.find("[Decoder]\r\nVersion=159\r\ninputBlock=30\r\n"), std::string::npos);
  Settings back = loadSettings(path.c_str(), false);
  EXPECT_EQ(back.stickyMode, 1);
  EXPECT_EQ(back.playMode, 2);
  EXPECT_EQ(back.windowLeft, -40);
  EXPECT_EQ(back.equalizerBands[9], -120);
  EXPECT_EQ(back.equalizerEnabled, 1);
  EXPECT_EQ(back.currentIndex, 5);
}

TEST_F(SettingsFileTest, SavingOffDeletesTheFileAndAFailedSaveKeepsIt) {
  test::writeText(path, "[Option]\r\nPlayMode=1\r\n");
  Settings s = loadSettings(path.c_str(), false);
  std::filesystem::create_directory(path + ".new");
  EXPECT_FALSE(saveSettings(path.c_str(), s));
  EXPECT_EQ(test::readText(path), "[Option]\r\nPlayMode=1\r\n");
  std::filesystem::remove(path + ".new");

  s.saveSettingsEnabled = 0;
  EXPECT_TRUE(saveSettings(path.c_str(), s));
  EXPECT_FALSE(platform::fileExists(path.c_str()));
  EXPECT_EQ(loadSettings(path.c_str(), false).saveSettingsEnabled, 0);
}

TEST_F(SettingsFileTest, GaplessIsOffUnlessSetAndOnlyAnOnValueIsWritten) {
  test::writeText(path, "[Decoder]\r\nGapless=2\r\n");
  EXPECT_EQ(loadSettings(path.c_str(), false).gapless, 0);

  test::writeText(path, "[Option]\r\nPlayMode=1\r\n");
  Settings s = loadSettings(path.c_str(), false);
  EXPECT_EQ(s.gapless, 0);
  ASSERT_TRUE(saveSettings(path.c_str(), s));
  EXPECT_EQ(test::readText(path).find("Gapless"), std::string::npos);

  s.gapless = 1;
  ASSERT_TRUE(saveSettings(path.c_str(), s));
  EXPECT_EQ(loadSettings(path.c_str(), false).gapless, 1);
}

}  // namespace
}  // namespace orva

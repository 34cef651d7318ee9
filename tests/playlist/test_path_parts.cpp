#include <gtest/gtest.h>

#include <string>

#include "platform/codepage.h"
#include "playlist/path_parts.h"

namespace orva {
namespace {

class PathPartsTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::setActiveCodePage(platform::CodePage::Cp932); }
  void TearDown() override { platform::setActiveCodePage(platform::CodePage::System); }
};

TEST_F(PathPartsTest, FileNameStartsAfterLastSeparatorOfAnyKind) {
  EXPECT_STREQ(fileNamePart("C:\\music\\a.mp3"), "a.mp3");
  EXPECT_STREQ(fileNamePart("C:a.mp3"), "a.mp3");
  EXPECT_STREQ(fileNamePart("/home/x/b.mp2"), "b.mp2");
  EXPECT_STREQ(fileNamePart("plain.wav"), "plain.wav");
}

TEST_F(PathPartsTest, TrailByte5CIsNotASeparatorUnderCp932) {
  // "\x95\x5C" is one character (a kanji whose second byte is "\").
  const char path[] = "C:\\dir\\\x95\x5C.mp3";
  EXPECT_STREQ(fileNamePart(path), "\x95\x5C.mp3");
  const char folder[] = "C:\\\x95\x5C\\song";
  EXPECT_STREQ(fileNamePart(folder), "song");
  // The same bytes as a single-byte code page split at 0x5C.
  platform::setActiveCodePage(platform::CodePage::SingleByte);
  EXPECT_STREQ(fileNamePart(path), ".mp3");
}

TEST_F(PathPartsTest, ExtensionIsTheLastDotOfTheFileNameOnly) {
  EXPECT_STREQ(extensionPart("C:\\a.b\\song.tar.MP3"), ".MP3");
  const char noDot[] = "C:\\a.b\\song";
  EXPECT_EQ(extensionPart(noDot), noDot);
  EXPECT_TRUE(hasExtension("x\\Track.WaV", "wav"));
  EXPECT_FALSE(hasExtension("xwav", "wav"));  // no dot: no extension at all
  EXPECT_FALSE(hasExtension("a.wav\\b", "wav"));
  // A trail byte "." (0x2E never is one in cp932) and lead bytes are stepped over.
  EXPECT_TRUE(hasExtension("\x83\x5C.wav", "wav"));
}

TEST_F(PathPartsTest, FolderScanComparesLastThreeCharactersWithoutADot) {
  EXPECT_TRUE(endsWithNoCase3("dir\\demomp3", "mp3"));
  EXPECT_TRUE(endsWithNoCase3("SONG.MP3", "mp3"));
  EXPECT_FALSE(endsWithNoCase3("a.mp3x", "mp3"));
  EXPECT_FALSE(endsWithNoCase3("p3", "mp3"));
  // "ノ" is 0x83 0x6D: its trail byte spells "m", but it is one character.
  EXPECT_FALSE(endsWithNoCase3("dir\\demo\x83\x6Dp3", "mp3"));
  EXPECT_FALSE(endsWithNoCase3("\x83\x6Dp3", "mp3"));
  EXPECT_TRUE(endsWithNoCase3("\x83\x6Dmp3", "mp3"));
  // "ネ" is 0x83 0x6C ("l"): not a shortcut name either.
  EXPECT_FALSE(endsWithNoCase3("x\x83\x6Cnk", "lnk"));
}

// 表, ソ and 能 end in the trail byte 0x5C, the byte of "\".
constexpr const char* kTrail5C[] = {"\x95\x5C", "\x83\x5C", "\x94\x5C"};

TEST_F(PathPartsTest, TrailingSeparatorGoesButNeverATrailByte) {
  for (const char* kanji : kTrail5C) {
    const std::string folder = std::string("C:\\music\\") + kanji;
    for (const char* separator : {"", "\\", "/"}) {
      std::string path = folder + separator;
      removeTrailingSeparator(path.data());
      EXPECT_STREQ(path.c_str(), folder.c_str()) << "separator '" << separator << "'";
    }
    std::string alone = kanji;
    removeTrailingSeparator(alone.data());
    EXPECT_STREQ(alone.c_str(), kanji);
    EXPECT_FALSE(endsWithSeparator(folder.c_str()));
    EXPECT_TRUE(endsWithSeparator((folder + "\\").c_str()));
  }
  // Only one separator goes, and a root keeps its drive.
  char twice[] = "dir\\\\";
  removeTrailingSeparator(twice);
  EXPECT_STREQ(twice, "dir\\");
  char root[] = "C:\\";
  removeTrailingSeparator(root);
  EXPECT_STREQ(root, "C:");
  char empty[] = "";
  removeTrailingSeparator(empty);
  EXPECT_STREQ(empty, "");
}

TEST_F(PathPartsTest, LastCharactersCountWholeCharacters) {
  const char path[] = "a\x95\x5C\\\x83\x5C";
  EXPECT_EQ(lastCharacters(path, 1), path + 4);
  EXPECT_EQ(lastCharacters(path, 2), path + 3);
  EXPECT_EQ(lastCharacters(path, 3), path + 1);
  EXPECT_EQ(lastCharacters(path, 5), path);
  // Under UTF-8 the same bytes are single characters (0x5C is ASCII there).
  platform::setActiveCodePage(platform::CodePage::Utf8);
  EXPECT_EQ(lastCharacters(path, 1), path + 5);
}

TEST_F(PathPartsTest, CopiesAreCutBeforeADoubleByteCharacterThatDoesNotFit) {
  char out[4];
  EXPECT_FALSE(copyText(out, sizeof out, "ab\x82\xA0"));
  EXPECT_STREQ(out, "ab");
  EXPECT_TRUE(copyText(out, sizeof out, "a\x82\xA0"));
  EXPECT_STREQ(out, "a\x82\xA0");
}

TEST_F(PathPartsTest, DirectoryPartKeepsTheSeparator) {
  char out[64];
  directoryPart("D:\\lists\\x.m3u", out, sizeof out);
  EXPECT_STREQ(out, "D:\\lists\\");
  directoryPart("x.m3u", out, sizeof out);
  EXPECT_STREQ(out, "");
}

}  // namespace
}  // namespace orva

// Files that only an ID3v2 tag names: their display text and sort keys, in
// the code page of the list, beside files with an ID3v1 tag and with none.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "playlist/add_files.h"
#include "playlist/ordering.h"
#include "tests/playlist/playlist_fixtures.h"
#include "tests/support/id3v2_bytes.h"

namespace orva {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Bytes id3v1Tag(const std::string& title, const std::string& artist) {
  Bytes tag(128, 0);
  std::copy(title.begin(), title.end(), tag.begin() + 3);
  std::copy(artist.begin(), artist.end(), tag.begin() + 33);
  tag[0] = 'T', tag[1] = 'A', tag[2] = 'G', tag[127] = 12;
  return tag;
}

// Silent MPEG-1 Layer III frames, 128 kbit/s at 44.1 kHz.
Bytes silentFrames() {
  Bytes frames;
  for (int i = 0; i < 6; ++i) {
    Bytes frame(417, 0);
    frame[0] = 0xFF, frame[1] = 0xFB, frame[2] = 0x90, frame[3] = 0x00;
    frames = frames + frame;
  }
  return frames;
}

const std::u16string kDawn = u"夜明けのうた";
const std::u16string kAoba = u"青葉";

class Id3v2NamesTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::setActiveCodePage(platform::CodePage::System); }
  std::string write(const std::string& name, const Bytes& bytes) {
    const std::string path = dir.file(name);
    test::writeFileBytes(path, bytes);
    return path;
  }
  std::string displayOf(const std::string& path) {
    Playlist list;
    EXPECT_EQ(addFile(list, path.c_str()), 0);
    return list.count() == 1 ? list.entry(0)->displayText : std::string();
  }
  test::TempDir dir;
};

TEST_F(Id3v2NamesTest, OnlyAFileWithoutOtherNamesShowsItsId3v2Names) {
  const std::string onlyV2 =
      write("only.mp3", test::id3v2Tag({test::utf16TextFrame("TIT2", kDawn), test::utf16TextFrame("TPE1", kAoba)}) +
                            silentFrames());
  const std::string titleOnly =
      write("title.mp3", test::id3v2Tag({test::utf16TextFrame("TIT2", kDawn)}) + silentFrames());
  const std::string withV1 =
      write("v1.mp3", test::id3v2Tag({test::utf16TextFrame("TIT2", kDawn), test::utf16TextFrame("TPE1", kAoba)}) +
                          silentFrames() + id3v1Tag("Old", "Band"));
  const std::string none = write("none.mp3", silentFrames());

  platform::setActiveCodePage(platform::CodePage::Cp932);
  // 青葉 - 夜明けのうた in cp932.
  EXPECT_EQ(displayOf(onlyV2), "\x90\xC2\x97\x74 - \x96\xE9\x96\xBE\x82\xAF\x82\xCC\x82\xA4\x82\xBD");
  EXPECT_EQ(displayOf(titleOnly), "\x96\xE9\x96\xBE\x82\xAF\x82\xCC\x82\xA4\x82\xBD");
  EXPECT_EQ(displayOf(withV1), "Band - Old");
  EXPECT_EQ(displayOf(none), "none.mp3");

  platform::setActiveCodePage(platform::CodePage::Utf8);
  EXPECT_EQ(displayOf(onlyV2), reinterpret_cast<const char*>(u8"青葉 - 夜明けのうた"));
}

TEST_F(Id3v2NamesTest, SortKeysTakeTheId3v2NamesOfFilesThatHaveNoOthers) {
  platform::setActiveCodePage(platform::CodePage::Utf8);
  Playlist list;
  addFile(list, write("c.mp3",
                      test::id3v2Tag({test::utf16TextFrame("TPE1", u"Cello"), test::utf16TextFrame("TIT2", u"Air")}) +
                          silentFrames())
                    .c_str());
  addFile(list, write("a.mp3", silentFrames() + id3v1Tag("Zed", "Alto")).c_str());
  addFile(list,
          write("b.mp3", test::id3v2Tag({test::utf16TextFrame("TPE1", u"Bass"), test::utf16TextFrame("TIT2", u"Mid")}) +
                             silentFrames())
              .c_str());
  SortState state;
  sortPlaylist(list, state, SORT_ARTIST, {});
  EXPECT_EQ(test::displayTexts(list), (std::vector<std::string>{"Alto - Zed", "Bass - Mid", "Cello - Air"}));
  sortPlaylist(list, state, SORT_SONG, {});
  EXPECT_EQ(test::displayTexts(list), (std::vector<std::string>{"Cello - Air", "Bass - Mid", "Alto - Zed"}));
}

}  // namespace
}  // namespace orva

// ID3v2 reading: one tag per version and text encoding, unsynchronised and
// extended tags, and damaged or hostile sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "tags/id3v2.h"

namespace orva {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes synchsafe(uint32_t v) {
  return {uint8_t((v >> 21) & 0x7F), uint8_t((v >> 14) & 0x7F), uint8_t((v >> 7) & 0x7F), uint8_t(v & 0x7F)};
}
Bytes bigEndian(uint32_t v, int width) {
  Bytes out;
  for (int i = width - 1; i >= 0; --i) out.push_back(uint8_t(v >> (8 * i)));
  return out;
}

Bytes frame2(const std::string& id, const Bytes& data) {
  return bytesOf(id) + bigEndian(uint32_t(data.size()), 3) + data;
}
Bytes frame3(const std::string& id, const Bytes& data, uint8_t flags = 0) {
  return bytesOf(id) + bigEndian(uint32_t(data.size()), 4) + Bytes{0, flags} + data;
}
Bytes frame4(const std::string& id, const Bytes& data, uint8_t flags = 0) {
  return bytesOf(id) + synchsafe(uint32_t(data.size())) + Bytes{0, flags} + data;
}
Bytes tag(uint8_t version, uint8_t flags, const Bytes& body) {
  return bytesOf("ID3") + Bytes{version, 0, flags} + synchsafe(uint32_t(body.size())) + body;
}
Bytes latin1(const std::string& s) { return Bytes{0} + bytesOf(s); }
Bytes utf8(const std::string& s) { return Bytes{3} + bytesOf(s); }
Bytes utf16le(const std::u16string& s, bool bom = true) {
  Bytes out{1};
  if (bom) out = out + Bytes{0xFF, 0xFE};
  for (char16_t c : s) out = out + Bytes{uint8_t(c & 0xFF), uint8_t(c >> 8)};
  return out;
}
Bytes utf16be(const std::u16string& s, uint8_t encoding = 2) {
  Bytes out{encoding};
  if (encoding == 1) out = out + Bytes{0xFE, 0xFF};
  for (char16_t c : s) out = out + Bytes{uint8_t(c >> 8), uint8_t(c & 0xFF)};
  return out;
}

Id3v2Texts parse(const Bytes& b) {
  Id3v2Texts t;
  EXPECT_TRUE(parseId3v2(b, t));
  return t;
}

TEST(Id3v2, Version23InEveryEncoding) {
  const Bytes body = frame3("TIT2", latin1("Caf\xE9")) + frame3("TPE1", utf16le(u"Artist")) +
                     frame3("TALB", utf16be(u"Album", 1)) + frame3("TYER", latin1("2001")) +
                     frame3("TCON", latin1("(17)")) +
                     frame3("COMM", Bytes{0} + bytesOf("eng") + bytesOf("iTunNORM") + Bytes{0} + bytesOf("x")) +
                     frame3("COMM", Bytes{0} + bytesOf("eng") + Bytes{0} + bytesOf("a note")) + Bytes(20, 0);
  const Id3v2Texts t = parse(tag(3, 0, body));
  EXPECT_EQ(t.majorVersion, 3);
  EXPECT_EQ(t.tagBytes, int64_t(10 + body.size()));
  EXPECT_EQ(t.title, "Caf\xC3\xA9") << "ISO-8859-1 becomes UTF-8";
  EXPECT_EQ(t.artist, "Artist");
  EXPECT_EQ(t.album, "Album");
  EXPECT_EQ(t.year, "2001");
  EXPECT_EQ(t.genre, "Rock");
  EXPECT_EQ(t.comment, "a note") << "the comment without a description is the one for people";
}

TEST(Id3v2, Version24WithUtf8SynchsafeSizesAndAFooter) {
  const std::string dawn = "\xE5\xA4\x9C\xE6\x98\x8E\xE3\x81\x91";  // 夜明け
  const std::string longText(200, 'x');  // a size whose synchsafe form differs from its plain one
  const Bytes body = frame4("TIT2", utf8(dawn)) + frame4("TPE1", utf16be(u"\U0001D11E")) +
                     frame4("TDRC", latin1("2004-05-06")) + frame4("TCON", latin1("12")) +
                     frame4("USLT", Bytes{3} + bytesOf("jpn") + Bytes{0} + bytesOf(longText));
  Bytes whole = tag(4, 0x10, body) + bytesOf("3DI") + Bytes(7, 0);
  const Id3v2Texts t = parse(whole);
  EXPECT_EQ(t.title, dawn);
  EXPECT_EQ(t.artist, "\xF0\x9D\x84\x9E") << "a surrogate pair";
  EXPECT_EQ(t.year, "2004");
  EXPECT_EQ(t.genre, "Other");
  EXPECT_EQ(t.lyrics, longText);
  EXPECT_EQ(t.tagBytes, int64_t(10 + body.size() + 10)) << "the footer counts";
}

TEST(Id3v2, Version22ThreeLetterFrames) {
  const Bytes body = frame2("TT2", latin1("Song")) + frame2("TP1", utf16le(u"Band", false)) +
                     frame2("TAL", latin1("Record")) + frame2("TYE", latin1("1999")) +
                     frame2("TCO", latin1("(9)Metalcore")) +
                     frame2("COM", Bytes{0} + bytesOf("eng") + Bytes{0} + bytesOf("old"));
  const Id3v2Texts t = parse(tag(2, 0, body));
  EXPECT_EQ(t.title, "Song");
  EXPECT_EQ(t.artist, "Band") << "UTF-16 without a byte order mark reads little-endian";
  EXPECT_EQ(t.album, "Record");
  EXPECT_EQ(t.year, "1999");
  EXPECT_EQ(t.genre, "Metalcore") << "the refinement after a number";
  EXPECT_EQ(t.comment, "old");
}

TEST(Id3v2, UnsynchronisationOfTheWholeTagAndOfOneFrame) {
  // "\xFF\xE0" would look like a frame sync: written as FF 00 E0.
  const Bytes text = latin1("\xFF\xE0z");
  Bytes stuffed;
  for (size_t i = 0; i < text.size(); ++i) {
    stuffed.push_back(text[i]);
    if (text[i] == 0xFF) stuffed.push_back(0x00);
  }
  const Bytes v3 = bytesOf("TIT2") + bigEndian(uint32_t(text.size()), 4) + Bytes{0, 0} + stuffed;
  EXPECT_EQ(parse(tag(3, 0x80, v3)).title, "\xC3\xBF\xC3\xA0z");
  const Bytes v4 = bytesOf("TIT2") + synchsafe(uint32_t(stuffed.size())) + Bytes{0, 0x02} + stuffed;
  EXPECT_EQ(parse(tag(4, 0, v4)).title, "\xC3\xBF\xC3\xA0z");
  const Bytes withLength = bytesOf("TIT2") + synchsafe(uint32_t(stuffed.size() + 4)) + Bytes{0, 0x03} +
                           synchsafe(uint32_t(text.size())) + stuffed;
  EXPECT_EQ(parse(tag(4, 0, withLength)).title, "\xC3\xBF\xC3\xA0z") << "with a data length indicator";
}

TEST(Id3v2, ExtendedHeadersAreSkipped) {
  const Bytes frames = frame3("TIT2", latin1("After"));
  const Bytes v3 = bigEndian(6, 4) + Bytes(6, 0) + frames;
  EXPECT_EQ(parse(tag(3, 0x40, v3)).title, "After");
  const Bytes v4frames = frame4("TIT2", latin1("After"));
  const Bytes v4 = synchsafe(6) + Bytes{1, 0} + v4frames;
  EXPECT_EQ(parse(tag(4, 0x40, v4)).title, "After");
}

TEST(Id3v2, UnreadableFramesAreSkippedAndGenresWithoutANumberStay) {
  const Bytes body = frame3("TIT2", latin1("hidden"), 0x80) + frame3("TIT2", latin1("plain")) +
                     frame3("TCON", latin1("((Live)")) + frame3("TPE1", Bytes{9, 'a'});
  const Id3v2Texts t = parse(tag(3, 0, body));
  EXPECT_EQ(t.title, "plain") << "a compressed frame is left out";
  EXPECT_EQ(t.genre, "((Live)");
  EXPECT_EQ(t.artist, "") << "an unknown encoding reads as nothing";
}

TEST(Id3v2, DamagedAndHostileSizesStayInsideTheBytes) {
  Id3v2Texts t;
  EXPECT_FALSE(parseId3v2(bytesOf("ID3"), t)) << "too short";
  EXPECT_FALSE(parseId3v2(bytesOf("ID3\x05") + Bytes(6, 0), t)) << "an unknown version";
  EXPECT_FALSE(parseId3v2(bytesOf("ID3\x03") + Bytes{0, 0, 0x80, 0, 0, 0}, t)) << "not synchsafe";
  EXPECT_FALSE(parseId3v2(bytesOf("TAG"), t));

  // The header states far more than there is; a frame states 2^31 bytes.
  Bytes body = bytesOf("TIT2") + Bytes{0x7F, 0xFF, 0xFF, 0xFF, 0, 0} + latin1("cut");
  Bytes b = bytesOf("ID3") + Bytes{3, 0, 0} + synchsafe(0x0FFFFFFF) + body;
  t = parse(b);
  EXPECT_EQ(t.title, "cut");
  EXPECT_EQ(t.tagBytes, 10 + 0x0FFFFFFF) << "the stated size, for skipping the tag";

  // Odd UTF-16, a description with no end, an empty frame, a header cut short.
  t = parse(tag(3, 0,
                frame3("TIT2", Bytes{1, 0xFF, 0xFE, 'a'}) + frame3("COMM", Bytes{1, 'e', 'n', 'g', 'x'}) +
                    frame3("TALB", Bytes{}) + bytesOf("TPE")));
  EXPECT_EQ(t.title, "");
  EXPECT_EQ(t.comment, "");
  EXPECT_EQ(t.album, "");
}

// Counts what a file read costs.
class CountingSource final : public ByteSource {
 public:
  explicit CountingSource(const Bytes& bytes) : bytes_(bytes) {}
  int64_t size() override { return int64_t(bytes_.size()); }
  bool readAt(int64_t offset, void* buffer, int64_t count) override {
    if (offset < 0 || count < 0 || offset + count > size()) return false;
    std::copy_n(bytes_.begin() + offset, count, static_cast<uint8_t*>(buffer));
    bytesRead += count;
    return true;
  }
  int64_t bytesRead = 0;

 private:
  const Bytes& bytes_;
};

TEST(Id3v2File, ALargeTagIsReadWithoutItsPicture) {
  const Bytes picture = Bytes{0} + bytesOf("image/png") + Bytes{0, 3, 0} + Bytes(3 * 1024 * 1024, 0x89);
  const Bytes audio(4000, 0x55);
  for (int version : {3, 4}) {
    auto frame = [version](const std::string& id, const Bytes& data) {
      return version == 3 ? frame3(id, data) : frame4(id, data);
    };
    const Bytes body = frame("TIT2", latin1("Front")) + frame("APIC", picture) + frame("TPE1", utf8("Back")) +
                       frame("COMM", Bytes{0} + bytesOf("eng") + Bytes{0} + bytesOf("after")) + Bytes(64, 0);
    const Bytes file = Bytes(7, 0) + tag(uint8_t(version), 0, body) + audio;
    CountingSource source(file);
    Id3v2Texts t;
    ASSERT_TRUE(readId3v2(source, 7, t));
    EXPECT_EQ(t.title, "Front");
    EXPECT_EQ(t.artist, "Back");
    EXPECT_EQ(t.comment, "after");
    EXPECT_EQ(t.tagBytes, int64_t(10 + body.size()));
    EXPECT_LT(source.bytesRead, 1024) << "version " << version;
  }
  // A small tag cut short by the end of the file, and no tag at all.
  const Bytes cut = tag(3, 0, frame3("TIT2", latin1("Short")) + Bytes(100, 0));
  const Bytes cutShort(cut.begin(), cut.end() - 50);
  CountingSource shortSource(cutShort);
  Id3v2Texts t;
  EXPECT_TRUE(readId3v2(shortSource, 0, t));
  EXPECT_EQ(t.title, "Short");
  CountingSource none(audio);
  EXPECT_FALSE(readId3v2(none, 0, t));
}

}  // namespace
}  // namespace orva

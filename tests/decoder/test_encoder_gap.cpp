// The encoder's delay and padding read from a first frame's "Xing"/"Info"
// header, and the part of the decoded output they leave as the source.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "decoder/encoder_gap.h"
#include "decoder/frame_header.h"

namespace orva {
namespace {

void putBig32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

// A first frame with a tag at `tagAt` and an encoder extension after the
// fields `flags` announces. `header` picks the stream; the frame is as long
// as its bitrate makes it.
struct TaggedFrame {
  const char* tag = "Info";
  uint32_t flags = 0xF;
  uint32_t frames = 100;
  int32_t delay = 576;
  int32_t padding = 1584;
  const char* encoder = "LAME3.100";
  uint8_t header[4] = {0xFF, 0xFB, 0x92, 0x00};  // MPEG-1 L3 128k 44.1k stereo, padded: 418 bytes
  int32_t tagAt = 36;
};

std::vector<uint8_t> build(const TaggedFrame& t) {
  std::vector<uint8_t> f(1500, 0);
  std::memcpy(f.data(), t.header, 4);
  uint8_t* p = f.data() + t.tagAt;
  std::memcpy(p, t.tag, 4);
  putBig32(p + 4, t.flags);
  int32_t at = 8;
  if (t.flags & 1) putBig32(p + at, t.frames), at += 4;
  if (t.flags & 2) putBig32(p + at, 4000), at += 4;
  if (t.flags & 4) at += 100;
  if (t.flags & 8) at += 4;
  std::memcpy(p + at, t.encoder, std::strlen(t.encoder));
  p[at + 21] = static_cast<uint8_t>(t.delay >> 4);
  p[at + 22] = static_cast<uint8_t>(((t.delay & 0xF) << 4) | (t.padding >> 8));
  p[at + 23] = static_cast<uint8_t>(t.padding & 0xFF);
  return f;
}

// Reads the stream header and then the gap, as the engine does at open.
bool gapOf(const TaggedFrame& t, EncoderGap& gap, int32_t length = 1500) {
  const std::vector<uint8_t> f = build(t);
  MpegFrameHeader h{};
  const DecoderOptions options{0, 0, 24000};
  if (!readStreamHeader(f.data(), length, options, h)) return false;
  return readEncoderGap(f.data(), length, h, gap);
}

TEST(EncoderGap, ReadFromInfoAndXingWheneverTheFlagsPlaceIt) {
  for (const char* tag : {"Info", "Xing"}) {
    for (uint32_t flags : {0x1u, 0x3u, 0x5u, 0xFu}) {
      TaggedFrame t;
      t.tag = tag;
      t.flags = flags;
      t.delay = 576;
      t.padding = 1431;
      EncoderGap gap{-1, -1};
      ASSERT_TRUE(gapOf(t, gap)) << tag << " flags " << flags;
      EXPECT_EQ(gap.delay, 576);
      EXPECT_EQ(gap.padding, 1431);
    }
  }
  // MPEG-2 mono: the tag sits after 9 bytes of side information.
  TaggedFrame mpeg2;
  std::memcpy(mpeg2.header, "\xFF\xF3\x84\xC4", 4);  // 64k 24k mono: 192 bytes
  mpeg2.tagAt = 13;
  mpeg2.padding = 1003;
  EncoderGap gap{};
  ASSERT_TRUE(gapOf(mpeg2, gap));
  EXPECT_EQ(gap.padding, 1003);
  // An encoder without delay says so with zeros.
  TaggedFrame none;
  none.delay = none.padding = 0;
  ASSERT_TRUE(gapOf(none, gap));
  EXPECT_EQ(gap.delay + gap.padding, 0);
}

TEST(EncoderGap, AbsentOrImplausibleValuesAreNotRead) {
  struct Case {
    const char* what;
    TaggedFrame frame;
  };
  std::vector<Case> cases;
  auto add = [&](const char* what, auto change) {
    TaggedFrame t;
    change(t);
    cases.push_back({what, t});
  };
  add("no frame count", [](TaggedFrame& t) { t.flags = 2; });
  add("a VBRI header", [](TaggedFrame& t) { t.tag = "VBRI"; });
  add("no encoder name", [](TaggedFrame& t) { t.encoder = "\x01\x02\x03\x04"; });
  add("delay of two frames", [](TaggedFrame& t) { t.delay = 2304; });
  add("padding of two frames", [](TaggedFrame& t) { t.padding = 2304; });
  add("longer than the stream", [](TaggedFrame& t) { t.frames = 1; });
  add("layer II", [](TaggedFrame& t) { t.header[1] = 0xFD; });
  add("extension past the frame", [](TaggedFrame& t) {
    std::memcpy(t.header, "\xFF\xFB\x10\x00", 4);  // 32k: 104 bytes, the extension ends at 192
  });
  add("MPEG-2 padding of two of its frames", [](TaggedFrame& t) {
    std::memcpy(t.header, "\xFF\xF3\x84\xC4", 4);
    t.tagAt = 13;
    t.padding = 1152;
  });
  for (const Case& c : cases) {
    EncoderGap gap{7, 7};
    EXPECT_FALSE(gapOf(c.frame, gap)) << c.what;
    EXPECT_EQ(gap.delay, 7) << c.what;
  }
  // The extension must lie in the bytes given.
  EncoderGap gap{};
  EXPECT_FALSE(gapOf(TaggedFrame{}, gap, 191));
  EXPECT_TRUE(gapOf(TaggedFrame{}, gap, 192));
}

TEST(EncoderGap, SourceSpanLeavesTheSourceCount) {
  // 49 frames of 1152 holding 54441 source samples behind 576 of delay.
  const EncoderGap gap{576, 1431};
  SourceSpan s = sourceSpan(gap, 49, 1152, 0);
  EXPECT_EQ(s.skip, 576 + kLayer3DecoderDelay);
  EXPECT_EQ(s.length, 54441);
  // Down-sampled, both ends move to the lower rate: an odd length keeps
  // the sample its last half falls into.
  s = sourceSpan(gap, 49, 1152, 1);
  EXPECT_EQ(s.skip, 552);
  EXPECT_EQ(s.length, 27221);
  s = sourceSpan(gap, 49, 1152, 2);
  EXPECT_EQ(s.skip, 276);
  EXPECT_EQ(s.length, 13610);
  // A padding shorter than the decoder's delay: the span stops with the
  // decoded output, never beyond it.
  s = sourceSpan(EncoderGap{576, 100}, 10, 1152, 0);
  EXPECT_EQ(s.skip + s.length, 11520);
  s = sourceSpan(EncoderGap{1000, 0}, 1, 1152, 0);
  EXPECT_EQ(s.length, 0);
}

}  // namespace
}  // namespace orva

// Damaged streams through the engine's decode: junk blocks full of header-
// like patterns between the frames. The playback thread resynchronises past
// them onto the real frames and never plays the junk: the decode holds every
// real frame and no sample louder than the clean decode's.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "decoder/frame_header.h"
#include "tests/playback/playback_test.h"

namespace orva::test {
namespace {

class ResyncTest : public PlaybackTest {
 protected:
  // The 16-bit samples of `bytes` decoded to a WAV file through the engine.
  std::vector<int16_t> decode(const std::string& name, const Bytes& bytes) {
    const std::string wav = dir_.file("out.wav");
    StreamInfo info{};
    EXPECT_EQ(engineOpen(write(name, bytes).c_str(), &info), 1) << engineGetStatus();
    EXPECT_EQ(engineDecodeToWave(wav.c_str()), 1) << engineGetStatus();
    for (int32_t i = 0; i < 20000 && engineGetState(nullptr) != ENGINE_STOPPED; ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    engineClose();
    const std::vector<uint8_t> file = readFileBytes(wav);
    std::vector<int16_t> samples;
    for (size_t at = 44; at + 1 < file.size(); at += 2) {
      samples.push_back(static_cast<int16_t>(file[at] | file[at + 1] << 8));
    }
    return samples;
  }
};

int32_t peak(const std::vector<int16_t>& samples) {
  int32_t most = 0;
  for (int16_t s : samples) most = std::max(most, std::abs(int32_t{s}));
  return most;
}

void plant(Bytes& at, size_t offset, const Bytes& header) {
  std::copy(header.begin(), header.end(), at.begin() + offset);
}

// Three kinds of junk block, each free of accidental syncs but for the
// headers planted in it:
// 0: a header of the stream's own format whose frame ends inside the junk,
//    and a Layer I header;
// 1: at its very start (where the next frame is expected) a header of the
//    same layer at 32 kHz, followed at its frame's end by another one;
// 2: an MPEG-2 header, and a header of the stream's format whose frame ends
//    inside the real frame after the junk.
Bytes junkBlock(int32_t kind, const Bytes& streamHeader) {
  Bytes junk = syncFreeJunk(kind == 1 ? 1200 : 700, static_cast<uint32_t>(40 + kind));
  if (kind == 0) {
    plant(junk, 50, streamHeader);
    plant(junk, 500, headerBytes(1, 1, 14, 2, false, false));
  } else if (kind == 1) {
    Bytes other = streamHeader;
    other[2] = static_cast<uint8_t>((other[2] & 0xF3) | (2 << 2));  // 32 kHz
    plant(junk, 0, other);
    MpegFrameHeader h{};
    EXPECT_TRUE(parseFrameHeader(other.data(), h));
    const int32_t bitrate = bitrateKbps(h.version, h.layer, h.bitrateIndex) * 1000;
    plant(junk, static_cast<size_t>(frameLength(h, bitrate, 32000)), other);
  } else {
    Bytes mpeg2 = streamHeader;
    mpeg2[1] = static_cast<uint8_t>(mpeg2[1] & ~0x08);
    plant(junk, 10, mpeg2);
    plant(junk, 400, streamHeader);
  }
  return junk;
}

// Offsets of the frames of a clean stream that starts at byte 0.
std::vector<size_t> frameStarts(const Bytes& bytes) {
  std::vector<size_t> starts;
  size_t at = 0;
  MpegFrameHeader h{};
  while (at + 4 <= bytes.size() && parseFrameHeader(bytes.data() + at, h)) {
    starts.push_back(at);
    const int32_t bitrate = bitrateKbps(h.version, h.layer, h.bitrateIndex) * 1000;
    const int32_t length = frameLength(h, bitrate, sampleRateHz(h.version, h.sampleRateIndex));
    if (length <= 4) break;
    at += static_cast<size_t>(length);
  }
  return starts;
}

// `clean` with a junk block of each kind before frames 10, 25 and 40.
Bytes damage(const Bytes& clean) {
  const std::vector<size_t> starts = frameStarts(clean);
  EXPECT_GT(starts.size(), 45u);
  const Bytes header(clean.begin(), clean.begin() + 4);
  Bytes damaged;
  size_t from = 0;
  const size_t before[3] = {10, 25, 40};
  for (int32_t kind = 0; kind < 3; ++kind) {
    const size_t to = starts[before[kind]];
    damaged.insert(damaged.end(), clean.begin() + static_cast<long>(from), clean.begin() + static_cast<long>(to));
    append(damaged, junkBlock(kind, header));
    from = to;
  }
  damaged.insert(damaged.end(), clean.begin() + static_cast<long>(from), clean.end());
  return damaged;
}

TEST_F(ResyncTest, SilentStreamStaysSilentThroughHeaderLikeJunk) {
  const Bytes clean = silentL3Frames(60);
  const std::vector<int16_t> decoded = decode("damaged.mp3", damage(clean));
  EXPECT_EQ(decoded.size(), 60u * 1152 * 2);  // every real frame, nothing else
  EXPECT_EQ(peak(decoded), 0);
  EXPECT_GE(EventLog::count(ENGINE_EVENT_RESYNC), 3);
}

// Real music: the damaged decode has the clean decode's length and is never
// louder (a junk frame decoded as audio reaches near full scale).
TEST_F(ResyncTest, MusicThroughJunkIsNeverLouderThanTheCleanDecode) {
  const std::string shared = sharedDir();
  if (shared.empty()) GTEST_SKIP() << "the shared corpus folder is absent";
  const char* clips[] = {"l2_ff_44k_128_stereo_music.mp2", "l1_44k_384_stereo_chord.mp1"};
  for (const char* clip : clips) {
    SCOPED_TRACE(clip);
    const Bytes bytes = readFileBytes(joinPath(joinPath(shared, "corpus"), clip));
    ASSERT_GT(bytes.size(), 4u);
    const std::vector<int16_t> clean = decode("clean.mp3", bytes);
    const std::vector<int16_t> damaged = decode("damaged.mp3", damage(bytes));
    EXPECT_EQ(damaged.size(), clean.size());
    EXPECT_LE(peak(damaged), peak(clean));
  }
}

}  // namespace
}  // namespace orva::test

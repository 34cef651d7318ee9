// Writing decoded audio to WAV files and playing PCM WAVE streams: the file
// sizes, the PCM that reaches the device, and the decode through the engine
// against a direct frame-by-frame decode of the same file.
#include <dirent.h>

#include <algorithm>
#include <cstring>

#include "decoder/decoder.h"
#include "tests/playback/playback_test.h"

namespace orva::test {
namespace {

using WaveOutputTest = PlaybackTest;

uint32_t le32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 3]} << 24;
}

Bytes ramp(size_t size) {
  Bytes data(size);
  for (size_t i = 0; i < size; ++i) data[i] = static_cast<uint8_t>(i * 7 + 1);
  return data;
}

// Decodes `path` to `out` through the engine and waits for the end.
bool decodeThroughEngine(PlaybackTest& test, const std::string& path, const std::string& out) {
  StreamInfo info{};
  if (engineOpen(path.c_str(), &info) != 1) return false;
  if (engineDecodeToWave(out.c_str()) != 1) return false;
  for (int32_t i = 0; i < 20000 && engineGetState(nullptr) != ENGINE_STOPPED; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  engineClose();
  return engineGetState(nullptr) == ENGINE_STOPPED;
}

bool agrees(const MpegFrameHeader& a, const MpegFrameHeader& b) {
  return a.version == b.version && a.layer == b.layer && a.sampleRateIndex == b.sampleRateIndex;
}

// Whether the engine may lock onto the sync at `pos` after damage: a header
// of the stream followed by another one at its frame's end.
bool isStreamFrameAt(const std::vector<uint8_t>& bytes, size_t pos, const MpegFrameHeader& stream) {
  MpegFrameHeader h{}, next{};
  if (!parseFrameHeader(bytes.data() + pos, h) || !agrees(h, stream)) return false;
  const int32_t bitrate = bitrateKbps(h.version, h.layer, h.bitrateIndex) * 1000;
  const size_t end = pos + static_cast<size_t>(frameLength(h, bitrate, sampleRateHz(h.version, h.sampleRateIndex)));
  if (end == bytes.size()) return true;
  return end + 4 <= bytes.size() && parseFrameHeader(bytes.data() + end, next) && agrees(next, stream);
}

// The decode that orva-cli did before it used the engine: the whole file in
// memory, frame after frame, one byte and a search for a frame of the stream
// after a bad frame.
std::vector<uint8_t> decodeDirectly(const std::vector<uint8_t>& bytes, size_t start, const MpegFrameHeader& h) {
  std::vector<uint8_t> pcm;
  std::vector<uint8_t> frameOut(static_cast<size_t>(streamOutputBytesPerFrame()) + 16);
  size_t pos = start + static_cast<size_t>(h.vbrHeaderFrameSize);
  while (pos + 4 < bytes.size()) {
    FrameDecodeJob job{};
    job.input = bytes.data() + pos;
    job.inputLength = static_cast<int32_t>(bytes.size() - pos);
    job.output = frameOut.data();
    if (decodeFrame(job)) {
      pcm.insert(pcm.end(), frameOut.begin(), frameOut.begin() + job.outputLength);
      pos += static_cast<size_t>(job.inputLength);
      continue;
    }
    if (getDecoderError() == DECODER_ERR_NEED_DATA) break;
    int32_t offset = 0;
    do {
      pos += 1;
      if (!findFrameSync(bytes.data() + pos, static_cast<int32_t>(bytes.size() - pos), offset)) return pcm;
      pos += static_cast<size_t>(offset);
    } while (!isStreamFrameAt(bytes, pos, h));
  }
  return pcm;
}

TEST_F(WaveOutputTest, DecodedFileSizesMatchItsHeader) {
  const std::string out = dir_.file("out.wav");
  ASSERT_TRUE(decodeThroughEngine(*this, demoPath(), out));
  const std::vector<uint8_t> wav = readFileBytes(out);
  ASSERT_GT(wav.size(), 44u);
  EXPECT_EQ(le32(wav, 4), wav.size() - 8);
  EXPECT_EQ(le32(wav, 40), wav.size() - 44);
  EXPECT_EQ((wav.size() - 44) % 4608, 0u);
  EXPECT_EQ(le32(wav, 24), 44100u);
  EXPECT_EQ(device_.blocksWritten(), 0);  // no device in this mode
}

TEST_F(WaveOutputTest, PcmWaveDecodesToTheSamePcm) {
  const Bytes data = ramp(10001 * 4);
  const std::string in = write("in.wav", riffWave(1, 2, 22050, 16, data));
  const std::string out = dir_.file("out.wav");
  ASSERT_TRUE(decodeThroughEngine(*this, in, out));
  const std::vector<uint8_t> wav = readFileBytes(out);
  ASSERT_EQ(wav.size(), 44 + data.size());
  EXPECT_TRUE(std::equal(data.begin(), data.end(), wav.begin() + 44));
  EXPECT_EQ(le32(wav, 24), 22050u);
}

TEST_F(WaveOutputTest, PcmWaveOddDataPlaysOnlyItsChunk) {
  // 10000 bytes: not a multiple of the 4096-byte step; a chunk follows.
  const Bytes data = ramp(10000);
  Bytes file = riffWave(1, 2, 44100, 16, data);
  const char trailer[] = "LISTjunk";
  file.insert(file.end(), trailer, trailer + 8);
  Bytes junk(64, 0x77);
  append(file, junk);
  open(write("odd.wav", file));
  ASSERT_EQ(enginePlay(), 1);
  ASSERT_TRUE(waitForState(ENGINE_STOPPED));
  const std::vector<uint8_t> played = capture_.bytes();
  ASSERT_EQ(played.size(), 20480u);  // one block, padded at the end
  EXPECT_TRUE(std::equal(data.begin(), data.end(), played.begin()));
  EXPECT_TRUE(std::all_of(played.begin() + 10000, played.end(), [](uint8_t b) { return b == 0; }));
}

TEST_F(WaveOutputTest, PcmWaveShorterThanItsChunkPlaysWhatIsThere) {
  const Bytes data = ramp(6000);
  open(write("short.wav", riffWave(1, 1, 8000, 8, data, 50000)));
  ASSERT_EQ(enginePlay(), 1);
  ASSERT_TRUE(waitForState(ENGINE_STOPPED));
  const std::vector<uint8_t> played = capture_.bytes();
  ASSERT_EQ(played.size(), 10240u);  // 8-bit: blocks of 5 x 1024 bytes
  EXPECT_TRUE(std::equal(data.begin(), data.end(), played.begin()));
  // The rest of the last block is silence, which for 8-bit samples is 0x80.
  EXPECT_TRUE(std::all_of(played.begin() + 6000, played.end(), [](uint8_t b) { return b == 0x80; }));
  EXPECT_EQ(EventLog::events().back(), ENGINE_EVENT_ENDED);
}

TEST_F(WaveOutputTest, PlayToWaveWritesWhatItPlays) {
  open(demoPath());
  const std::string out = dir_.file("both.wav");
  ASSERT_EQ(enginePlayToWave(out.c_str()), 1);
  ASSERT_TRUE(waitForState(ENGINE_STOPPED));
  const std::vector<uint8_t> wav = readFileBytes(out);
  const std::vector<uint8_t> played = capture_.bytes();
  ASSERT_GT(wav.size(), 44u);
  EXPECT_EQ(le32(wav, 40), wav.size() - 44);
  EXPECT_TRUE(std::equal(wav.begin() + 44, wav.end(), played.begin()));
  // PCM WAVE streams are refused without a status.
  open(write("in.wav", riffWave(1, 2, 22050, 16, ramp(400))));
  EXPECT_EQ(enginePlayToWave(out.c_str()), 0);
}

// The engine's decode equals the direct decode, byte for byte, for the demo
// and every MPEG clip of the shared corpus that the engine opens.
TEST_F(WaveOutputTest, EngineDecodeMatchesTheDirectDecode) {
  std::vector<std::string> paths = {demoPath()};
  const std::string shared = sharedDir();
  if (!shared.empty()) {
    const std::string corpus = joinPath(shared, "corpus");
    if (DIR* d = opendir(corpus.c_str())) {
      while (dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".csv") != 0 && name[0] != '.' &&
            name.compare(name.size() - 4, 4, ".wav") != 0 && name != "tools") {
          paths.push_back(joinPath(corpus, name));
        }
      }
      closedir(d);
    }
  }
  int32_t compared = 0;
  for (const std::string& path : paths) {
    StreamInfo info{};
    if (engineOpen(path.c_str(), &info) != 1) continue;
    const int64_t start = gEngine.audioStart;
    const MpegFrameHeader header = gEngine.header;
    engineClose();
    const std::vector<uint8_t> bytes = readFileBytes(path);
    std::vector<uint8_t> probe(bytes.begin() + start, bytes.begin() + std::min<size_t>(bytes.size(), start + 4096));
    probe.resize(std::max<size_t>(probe.size(), kStreamHeaderMinBytes), 0);
    const std::string out = dir_.file("engine.wav");
    if (!startDecoding(probe.data(), static_cast<int32_t>(probe.size()))) {
      // A stream the decoder cannot start on is refused by both.
      ASSERT_EQ(engineOpen(path.c_str(), &info), 1);
      EXPECT_EQ(engineDecodeToWave(out.c_str()), 0) << path;
      EXPECT_EQ(engineGetStatus(), ENGINE_ERR_DECODER_START);
      engineClose();
      continue;
    }
    ASSERT_TRUE(decodeThroughEngine(*this, path, out)) << path;
    const std::vector<uint8_t> wav = readFileBytes(out);
    ASSERT_TRUE(startDecoding(probe.data(), static_cast<int32_t>(probe.size())));
    const std::vector<uint8_t> pcm = decodeDirectly(bytes, static_cast<size_t>(start), header);
    ASSERT_EQ(wav.size(), 44 + pcm.size()) << path;
    EXPECT_TRUE(std::equal(pcm.begin(), pcm.end(), wav.begin() + 44)) << path;
    ++compared;
  }
  EXPECT_GE(compared, 1);
  if (shared.empty()) GTEST_SKIP() << "the shared corpus is absent: compared the demo only";
}

}  // namespace
}  // namespace orva::test

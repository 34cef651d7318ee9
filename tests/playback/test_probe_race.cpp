// The shell reads the file information of list entries while a track plays.
// Probing a file must leave the playing decoder alone: here one thread
// reads file information and counts empty frames in a loop while the engine
// plays a damaged stream, whose playback thread consults the decoder's error
// after every failed frame. The probes give the same answers throughout and
// the playback stays what it is; under ThreadSanitizer the test also shows
// that no decoder state is shared between the two.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "tests/playback/playback_test.h"

namespace orva::test {
namespace {

using ProbeRaceTest = PlaybackTest;

// Silent frames with sync-free junk after every tenth: each junk block is a
// failed frame and a resynchronisation.
Bytes silentWithJunk(int32_t frames) {
  Bytes bytes;
  for (int32_t f = 0; f < frames; ++f) {
    append(bytes, silentL3Frames(1));
    if (f % 10 == 9) append(bytes, syncFreeJunk(300, static_cast<uint32_t>(f)));
  }
  return bytes;
}

// Frames whose payload is all 0xFF (counted as empty) and an ID3v1 tag.
Bytes emptyFramesTagged(int32_t frames) {
  Bytes bytes = l3Frames(frames, 0xFF);
  append(bytes, id3v1Tag("empty", "frames", 0));
  return bytes;
}

struct ProbeResults {
  int32_t freeFormatRefused = 0;
  int32_t goodFileRead = 0;
  int32_t emptyCounted = 0;
  int32_t rounds = 0;
};

// Probes until at least `kPlays` plays have overlapped it.
constexpr int32_t kPlays = 20;

void probeLoop(const std::string& freeFormat, const std::string& good, const std::string& empty,
               const std::atomic<int32_t>& plays, std::atomic<bool>& finished, ProbeResults& results) {
  for (int32_t round = 0; round < 100000 && plays.load() <= kPlays; ++round) {
    Id3v1Record tag{};
    FileInfo info{};
    InfoText text{};
    if (readFileInfo(freeFormat.c_str(), &tag, &info, &text) == 0) ++results.freeFormatRefused;
    if (readFileInfo(good.c_str(), &tag, &info, &text) == 1 && info.layer == 3 && info.bitrate == 128 &&
        info.sampleRate == 44100) {
      ++results.goodFileRead;
    }
    if (engineCountLeadingEmptyFrames(empty.c_str()) == 12) ++results.emptyCounted;
    ++results.rounds;
  }
  finished.store(true);
}

TEST_F(ProbeRaceTest, FileInformationReadDuringPlaybackLeavesThePlayingDecoderAlone) {
  const std::string freeFormat = write("free.mp3", freeFormatStream({1, 3, 0, false, 256, 30}));
  const std::string good = write("good.mp3", l3Frames(20));
  const std::string empty = write("empty.mp3", emptyFramesTagged(12));
  open(write("damaged.mp3", silentWithJunk(100)));

  std::atomic<int32_t> plays{0};
  std::atomic<bool> finished{false};
  ProbeResults results;
  std::thread prober(probeLoop, freeFormat, good, empty, std::cref(plays), std::ref(finished), std::ref(results));
  while (!finished.load()) {
    if (engineGetState(nullptr) == ENGINE_STOPPED && plays.load() <= kPlays) {
      ASSERT_EQ(enginePlay(), 1) << engineGetStatus();
      plays.fetch_add(1);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  prober.join();
  ASSERT_TRUE(waitForState(ENGINE_STOPPED));

  EXPECT_GT(plays.load(), kPlays);
  EXPECT_GT(results.rounds, 0);
  EXPECT_EQ(results.freeFormatRefused, results.rounds);
  EXPECT_EQ(results.goodFileRead, results.rounds);
  EXPECT_EQ(results.emptyCounted, results.rounds);
  // Every play gave the 100 silent frames and nothing else.
  const std::vector<uint8_t> played = capture_.bytes();
  EXPECT_EQ(played.size(), size_t(plays.load()) * 100 * 4608);
  EXPECT_TRUE(std::all_of(played.begin(), played.end(), [](uint8_t b) { return b == 0; }));
}

}  // namespace
}  // namespace orva::test

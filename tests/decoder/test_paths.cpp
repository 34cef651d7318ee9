// Every decoder path gives the plain path's output, bit for bit: each
// stream is decoded through the plain code and through every vector path
// this processor can run, in the variants that reach different kernels
// (full and lifted bandwidth, down-mix, half rate, 8-bit). Streams: the
// clips in data/, and where the shared test folder is present every corpus
// clip and conformance stream.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "decoder/decoder_path.h"
#include "tests/decoder/decode_util.h"
#include "tests/support/test_support.h"

namespace orva::test {
namespace {

struct Variant {
  const char* name;
  DecoderOptions options;
  bool fullBandwidth;
};

constexpr Variant kVariants[] = {
    {"as built", {0, 0, 24000}, false},  {"lifted bandwidth", {0, 0, 24000}, true}, {"down-mix", {0, 1, 24000}, false},
    {"half rate", {1, 0, 24000}, false}, {"8-bit", {0, 8, 24000}, false},
};

std::vector<std::string> streams() {
  std::vector<std::string> files;
  const auto addFolder = [&files](const std::string& dir) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir, ec)) {
      const std::string ext = entry.path().extension().string();
      if (ext == ".mp1" || ext == ".mp2" || ext == ".mp3" || ext == ".bit") files.push_back(entry.path().string());
    }
  };
  addFolder(joinPath(sourceDir(), "tests/decoder/data"));
  const std::string shared = sharedDir();
  if (!shared.empty()) {
    addFolder(joinPath(shared, "corpus"));
    addFolder(joinPath(shared, "conformance"));
  }
  std::sort(files.begin(), files.end());
  return files;
}

DecodedStream decodeOn(DecoderPath path, const std::vector<uint8_t>& bytes, const Variant& v, bool& started) {
  EXPECT_TRUE(selectDecoderPath(path));
  DecodeSettings s;
  s.options = v.options;
  s.fullBandwidth = v.fullBandwidth;
  DecodedStream d;
  started = decodeStream(bytes, s, d);
  return d;
}

// The largest difference in 16-bit samples (8-bit output counts in its own
// steps), and where it is.
std::string describeDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, bool eight) {
  if (a.size() != b.size()) return "lengths " + std::to_string(a.size()) + " and " + std::to_string(b.size());
  const size_t step = eight ? 1 : 2;
  int32_t worst = 0;
  size_t at = 0;
  for (size_t i = 0; i + step <= a.size(); i += step) {
    int32_t x = a[i], y = b[i];
    if (!eight) {
      int16_t p, q;
      std::memcpy(&p, &a[i], 2);
      std::memcpy(&q, &b[i], 2);
      x = p, y = q;
    }
    if (std::abs(x - y) > worst) worst = std::abs(x - y), at = i;
  }
  return "largest difference " + std::to_string(worst) + " at byte " + std::to_string(at);
}

struct RestorePath {
  DecoderPath saved = selectedDecoderPath();
  ~RestorePath() { selectDecoderPath(saved); }
};

TEST(DecoderPathTest, TheFastestPathIsRunnableAndUnknownOnesAreRefused) {
  RestorePath restore;
  EXPECT_TRUE(decoderPathAvailable(DECODER_PATH_PLAIN));
  EXPECT_TRUE(decoderPathAvailable(fastestDecoderPath()));
  EXPECT_FALSE(selectDecoderPath(static_cast<DecoderPath>(7)));
  EXPECT_FALSE(decoderPathAvailable(static_cast<DecoderPath>(-1)));
  std::printf("[paths] fastest here: %s\n", decoderPathName(fastestDecoderPath()));
}

TEST(DecoderPathTest, EveryPathDecodesEveryStreamToThePlainPathsBytes) {
  RestorePath restore;
  std::vector<DecoderPath> vectorPaths;
  for (DecoderPath p : {DECODER_PATH_SSE2, DECODER_PATH_AVX2}) {
    if (decoderPathAvailable(p)) vectorPaths.push_back(p);
  }
  if (vectorPaths.empty()) GTEST_SKIP() << "this processor runs the plain path only";
  if (sharedDir().empty()) std::printf("[paths] shared test folder absent: the clips in data/ only\n");
  int32_t compared = 0;
  for (const std::string& file : streams()) {
    const std::vector<uint8_t> bytes = readFileBytes(file);
    for (const Variant& v : kVariants) {
      bool started = false;
      const DecodedStream plain = decodeOn(DECODER_PATH_PLAIN, bytes, v, started);
      if (!started) continue;  // a damaged clip with nothing to start on decodes to nothing on every path
      for (DecoderPath p : vectorPaths) {
        bool ok = false;
        const DecodedStream other = decodeOn(p, bytes, v, ok);
        ASSERT_TRUE(ok) << file;
        EXPECT_TRUE(other.pcm == plain.pcm) << file << ", " << v.name << ", " << decoderPathName(p) << ": "
                                            << describeDifference(plain.pcm, other.pcm, v.options.outputFlags & 8);
        ++compared;
      }
    }
  }
  std::printf("[paths] %d stream decodes compared with the plain path\n", compared);
  EXPECT_GT(compared, 0);
}

}  // namespace
}  // namespace orva::test

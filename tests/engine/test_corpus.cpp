// Every clip of the shared corpus opens, or fails, as its manifest says, with
// the format, VBR flag, frame count and duration the manifest measured.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/status_text.h"
#include "tests/engine/engine_test.h"

namespace orva::test {
namespace {

using Row = std::map<std::string, std::string>;

// One CSV line; quoted fields may hold commas and doubled quotes.
std::vector<std::string> splitCsv(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
      fields.back() += '"';
      ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else if (c != '\r') {
      fields.back() += c;
    }
  }
  return fields;
}

std::vector<Row> readManifest(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::vector<Row> rows;
  if (!std::getline(in, line)) return rows;
  const std::vector<std::string> names = splitCsv(line);
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const std::vector<std::string> fields = splitCsv(line);
    Row row;
    for (size_t i = 0; i < names.size() && i < fields.size(); ++i) row[names[i]] = fields[i];
    rows.push_back(row);
  }
  return rows;
}

// "..., 156 frames, 4.075 s" at the end of the features column.
bool framesAndSeconds(const std::string& features, long& frames, double& seconds) {
  const size_t at = features.rfind(" frames, ");
  if (at == std::string::npos) return false;
  size_t start = features.rfind(' ', at - 1);
  start = start == std::string::npos ? 0 : start + 1;
  frames = std::strtol(features.c_str() + start, nullptr, 10);
  seconds = std::strtod(features.c_str() + at + 9, nullptr);
  return true;
}

// Duration of the PCM in a WAVE file, from its own data chunk (the
// manifest gives none): the chunk size, cut to the bytes present.
double pcmSeconds(const std::vector<uint8_t>& b, int channels, int bits, int rate) {
  size_t at = 12;
  while (at + 8 <= b.size()) {
    const uint32_t size = b[at + 4] | b[at + 5] << 8 | b[at + 6] << 16 | uint32_t(b[at + 7]) << 24;
    if (std::equal(b.begin() + at, b.begin() + at + 4, "data")) {
      const double bytes = std::min<double>(size, double(b.size() - at - 8));
      return bytes / (bits / 8 * channels) / rate;
    }
    at += 8 + size + (size & 1);
  }
  return -1;
}

// What the manifest says a clip must do: open, or fail with this status.
int32_t expectedFailure(const Row& row) {
  if (row.at("bitrate").rfind("free", 0) == 0) return ENGINE_ERR_BAD_HEADER;
  if (row.at("bitrate").find("extensible") != std::string::npos) return ENGINE_ERR_RIFF_WALK;
  return ENGINE_OK;
}

class Corpus : public EngineTest {};

TEST_F(Corpus, EveryClipOpensOrFailsAsItsManifestSays) {
  const std::string shared = sharedDir();
  if (shared.empty()) GTEST_SKIP() << "the shared corpus folder is absent; nothing to check";
  const std::string corpus = joinPath(shared, "corpus");
  const std::vector<Row> rows = readManifest(joinPath(corpus, "manifest.csv"));
  ASSERT_GT(rows.size(), 80u);

  int opened = 0, refused = 0;
  for (const Row& row : rows) {
    const std::string& name = row.at("file");
    SCOPED_TRACE(name);
    StreamInfo info{};
    const int32_t result = engineOpen(joinPath(corpus, name).c_str(), &info);
    const int32_t failure = expectedFailure(row);
    if (failure != ENGINE_OK) {
      EXPECT_EQ(result, 0);
      EXPECT_EQ(engineGetStatus(), failure) << statusText(engineGetStatus());
      ++refused;
      continue;
    }
    ASSERT_EQ(result, 1) << "status " << engineGetStatus() << ": " << statusText(engineGetStatus());
    ++opened;
    const bool mono = row.at("mode") == "mono";
    EXPECT_EQ(info.channels, mono ? 1 : 2);
    EXPECT_EQ(info.sampleRate, std::atoi(row.at("sample_rate").c_str()));
    FileInfo f{};
    ASSERT_EQ(engineGetHeaderInfo(&f), 1);

    if (row.at("layer") == "PCM") {
      const int bits = std::atoi(row.at("bitrate").c_str());
      EXPECT_EQ(info.bitRate, bits);
      EXPECT_STREQ(info.title, "WAVE_FORMAT_PCM");
      const std::vector<uint8_t> bytes = readFileBytes(joinPath(corpus, name));
      EXPECT_EQ(info.durationSeconds, int(pcmSeconds(bytes, info.channels, bits, info.sampleRate)));
      continue;
    }
    EXPECT_EQ(f.layer, std::atoi(row.at("layer").c_str()));
    const std::string& version = row.at("version");
    EXPECT_EQ(f.version, version == "2.5" ? 3 : std::atoi(version.c_str()));

    const std::string& bitrate = row.at("bitrate");
    const bool vbrHeader = bitrate.rfind("VBR", 0) == 0 &&
                           (bitrate.find("Xing") != std::string::npos || bitrate.find("VBRI") != std::string::npos);
    if (vbrHeader) {
      EXPECT_EQ(info.bitRate, 0);
    } else if (bitrate.rfind("VBR", 0) != 0) {
      EXPECT_EQ(info.bitRate, std::atoi(bitrate.c_str()));
    } else {
      EXPECT_GT(info.bitRate, 0);
    }
    long frames = 0;
    double seconds = 0;
    ASSERT_TRUE(framesAndSeconds(row.at("features"), frames, seconds));
    // The manifest counts the frame holding the VBR or "Info" header; the
    // header counts the frames after it, and that frame is no audio. A
    // last frame cut short is left out of the manifest's count, not the
    // header's.
    if (vbrHeader || bitrate.find("Info") != std::string::npos) {
      const bool cutShort = row.at("features").find("last frame truncated") != std::string::npos;
      EXPECT_EQ(f.frames, cutShort ? frames : frames - 1);
      seconds = seconds * double(frames - 1) / double(frames);
    }
    // Without a VBR header the frame count is estimated from the first
    // frame's length, so a stream whose bit rate varies without saying so
    // is misjudged, as designed (both such clips start with a frame far above
    // their average rate). Only the estimate itself is checked there.
    const bool unannouncedVbr = bitrate.rfind("VBR", 0) == 0 && !vbrHeader;
    if (unannouncedVbr) {
      EXPECT_EQ(f.frames, gEngine.audioSize / gEngine.header.minFrameSize);
      std::printf("%s: estimated %d s, measured %.3f s\n", name.c_str(), info.durationSeconds, seconds);
    } else {
      EXPECT_LE(std::fabs(info.durationSeconds - seconds), 1.0);
    }
    EXPECT_EQ(f.seconds, info.durationSeconds);
  }
  std::printf("corpus: %d clips opened, %d refused as expected\n", opened, refused);
}

}  // namespace
}  // namespace orva::test

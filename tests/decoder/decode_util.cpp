#include "tests/decoder/decode_util.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <set>
#include <tuple>

namespace orva::test {
namespace {

int32_t clampLength(size_t n) { return n > 0x7FFFFFF0 ? 0x7FFFFFF0 : static_cast<int32_t>(n); }

DecoderOptions currentOptions() {
  DecoderOptions options{};
  getDecoderOptions(options);
  return options;
}

bool startAt(const std::vector<uint8_t>& file, size_t& pos, MpegFrameHeader& header) {
  pos = 0;
  if (file.size() >= 10 && std::memcmp(file.data(), "ID3", 3) == 0) {
    pos = 10 + ((size_t{file[6] & 0x7Fu} << 21) | (size_t{file[7] & 0x7Fu} << 14) | (size_t{file[8] & 0x7Fu} << 7) |
                size_t{file[9] & 0x7Fu});
  }
  while (pos < file.size()) {
    int32_t offset = 0;
    if (!findFrameSync(file.data() + pos, clampLength(file.size() - pos), offset)) return false;
    pos += static_cast<size_t>(offset);
    std::vector<uint8_t> probe(file.begin() + static_cast<long>(pos),
                               file.begin() + static_cast<long>(std::min(file.size(), pos + 4096)));
    probe.resize(std::max<size_t>(probe.size(), kStreamHeaderMinBytes), 0);
    if (readStreamHeader(probe.data(), clampLength(probe.size()), currentOptions(), header) &&
        startDecoding(probe.data(), clampLength(probe.size()))) {
      return true;
    }
    ++pos;
  }
  return false;
}

uint32_t le(const uint8_t* p, int n) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

}  // namespace

bool decodeStream(const std::vector<uint8_t>& file, const DecodeSettings& settings, DecodedStream& out) {
  initDecoder();
  setFullBandwidthForTesting(settings.fullBandwidth);
  setDecoderOptions(settings.options);
  setEqualizerGains(settings.equalizer);
  size_t pos = 0;
  MpegFrameHeader header{};
  const bool started = startAt(file, pos, header);
  setFullBandwidthForTesting(false);
  if (!started) return false;
  out = DecodedStream{};
  out.channels = header.outputChannels;
  out.sampleRate = header.outputSampleRate;
  out.bits = header.outputBits;
  pos += static_cast<size_t>(header.vbrHeaderFrameSize);
  std::vector<uint8_t> frame(static_cast<size_t>(streamOutputBytesPerFrame()));
  while (pos + 4 < file.size()) {
    FrameDecodeJob job{};
    job.input = file.data() + pos;
    job.inputLength = clampLength(file.size() - pos);
    job.output = frame.data();
    if (decodeFrame(job)) {
      out.pcm.insert(out.pcm.end(), frame.begin(), frame.begin() + job.outputLength);
      pos += static_cast<size_t>(job.inputLength);
      ++out.frames;
      continue;
    }
    if (getDecoderError() == DECODER_ERR_NEED_DATA) break;
    ++out.resyncs;
    int32_t offset = 0;
    ++pos;
    if (!findFrameSync(file.data() + pos, clampLength(file.size() - pos), offset)) break;
    pos += static_cast<size_t>(offset);
  }
  return true;
}

std::vector<float> samplesOf(const DecodedStream& d) {
  std::vector<float> s(d.pcm.size() / 2);
  for (size_t i = 0; i < s.size(); ++i) {
    int16_t v;
    std::memcpy(&v, d.pcm.data() + 2 * i, 2);
    s[i] = v;
  }
  return s;
}

std::vector<float> rawS16(const std::vector<uint8_t>& bytes) {
  std::vector<float> s(bytes.size() / 2);
  for (size_t i = 0; i < s.size(); ++i) {
    s[i] = static_cast<int16_t>(static_cast<uint16_t>(le(bytes.data() + 2 * i, 2)));
  }
  return s;
}

bool readWaveReference(const std::vector<uint8_t>& bytes, Reference& out) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0) return false;
  size_t p = 12;
  uint32_t tag = 0, bits = 0;
  while (p + 8 <= bytes.size()) {
    const uint32_t size = le(bytes.data() + p + 4, 4);
    const uint8_t* body = bytes.data() + p + 8;
    const size_t avail = bytes.size() - p - 8;
    if (std::memcmp(bytes.data() + p, "fmt ", 4) == 0 && avail >= 16) {
      tag = le(body, 2);
      out.channels = static_cast<int32_t>(le(body + 2, 2));
      out.sampleRate = static_cast<int32_t>(le(body + 4, 4));
      bits = le(body + 14, 2);
      if (tag == 0xFFFE && avail >= 26) tag = le(body + 24, 2);
    } else if (std::memcmp(bytes.data() + p, "data", 4) == 0) {
      const size_t n = std::min<size_t>(size, avail);
      out.samples.clear();
      if (tag == 3 && bits == 32) {
        out.isFloat = true;
        for (size_t i = 0; i + 4 <= n; i += 4) {
          const uint32_t u = le(body + i, 4);
          float f;
          std::memcpy(&f, &u, 4);
          out.samples.push_back(f * 32768.0f);
        }
      } else if (tag == 1 && bits == 16) {
        for (size_t i = 0; i + 2 <= n; i += 2) {
          out.samples.push_back(static_cast<int16_t>(static_cast<uint16_t>(le(body + i, 2))));
        }
      } else if (tag == 1 && bits == 24) {
        for (size_t i = 0; i + 3 <= n; i += 3) {
          const int32_t v = static_cast<int32_t>(le(body + i, 3) << 8) >> 8;
          out.samples.push_back(static_cast<float>(v / 256.0));
        }
      } else {
        return false;
      }
      return out.channels > 0;
    }
    p += 8 + size + (size & 1);
  }
  return false;
}

void truncateTo16(std::vector<float>& samples) {
  for (float& v : samples) v = std::clamp(std::trunc(v), -32768.0f, 32767.0f);
}

namespace {

// Mean squared difference of channel 0 of a[lo..hi) against b shifted by d,
// or a negative value when less than `need` frames overlap.
double score(const std::vector<float>& a, const std::vector<float>& b, int32_t ch, int64_t lo, int64_t hi, int64_t d,
             int64_t need) {
  const int64_t fb = static_cast<int64_t>(b.size()) / ch;
  lo = std::max(lo, -d);
  hi = std::min(hi, fb - d);
  if (hi - lo < need || hi <= lo) return -1;
  double sum = 0;
  for (int64_t i = lo; i < hi; ++i) {
    const double e = a[static_cast<size_t>(i * ch)] - b[static_cast<size_t>((i + d) * ch)];
    sum += e * e;
  }
  return sum / static_cast<double>(hi - lo);
}

int32_t findOffset(const std::vector<float>& a, const std::vector<float>& b, int32_t ch, int32_t rate,
                   int32_t maxOffset) {
  const int64_t fa = static_cast<int64_t>(a.size()) / ch;
  const int64_t w = std::max<int64_t>(1, std::min<int64_t>(fa, rate));
  const int64_t win = std::min<int64_t>(2048, w);
  int64_t ws = 0;
  double best = -1;
  for (int64_t s = 0; s < std::max<int64_t>(1, w - win + 1); s += std::max<int64_t>(1, win / 2)) {
    double e = 0;
    for (int64_t i = s; i < s + win; ++i) e += double(a[size_t(i * ch)]) * a[size_t(i * ch)];
    if (e > best) best = e, ws = s;
  }
  std::vector<std::tuple<double, int64_t, int64_t>> first;
  for (int64_t d = -maxOffset; d <= maxOffset; ++d) {
    const double sc = score(a, b, ch, ws, ws + win, d, win / 2);
    if (sc >= 0) first.emplace_back(sc, d < 0 ? -d : d, d);
  }
  std::sort(first.begin(), first.end());
  std::set<int64_t> cands = {0};
  for (size_t i = 0; i < first.size() && i < 24; ++i) cands.insert(std::get<2>(first[i]));
  std::vector<std::tuple<double, int64_t, int64_t>> scores;
  for (int64_t d : cands) {
    const double sc = score(a, b, ch, 0, w, d, w / 2);
    if (sc >= 0) scores.emplace_back(sc, d < 0 ? -d : d, d);
  }
  if (scores.empty()) return 0;
  double low = std::get<0>(*std::min_element(scores.begin(), scores.end()));
  std::tuple<int64_t, int64_t> pick{INT64_MAX, 0};
  for (const auto& s : scores) {
    if (std::get<0>(s) <= low * 1.001 + 1e-9) pick = std::min(pick, {std::get<1>(s), std::get<2>(s)});
  }
  return static_cast<int32_t>(std::get<1>(pick));
}

}  // namespace

Comparison comparePcm(const std::vector<float>& a, const std::vector<float>& b, int32_t channels, int32_t rate,
                      bool search, int32_t offset, int32_t maxOffset) {
  Comparison c;
  c.offset = search ? findOffset(a, b, channels, rate, maxOffset) : offset;
  const int64_t fa = static_cast<int64_t>(a.size()) / channels;
  const int64_t fb = static_cast<int64_t>(b.size()) / channels;
  const int64_t lo = std::max<int64_t>(0, -c.offset);
  const int64_t hi = std::min<int64_t>(fa, fb - c.offset);
  if (hi <= lo) return c;
  double sq = 0;
  for (int64_t i = lo * channels; i < hi * channels; ++i) {
    const double e = double(b[size_t(i + int64_t(c.offset) * channels)]) - a[size_t(i)];
    sq += e * e;
    c.max = std::max(c.max, std::fabs(e));
  }
  c.compared = hi - lo;
  c.rms = std::sqrt(sq / double((hi - lo) * channels));
  return c;
}

}  // namespace orva::test

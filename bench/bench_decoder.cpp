// Decoder benchmark: decodes a file through the decoder API several times
// and prints the CPU time per second of audio and the realtime factor
// (median of the runs). Native build only.
//
//   orva-bench-decoder FILE [--runs N] [--path plain|sse2|avx2] [--shift N] [--channels MODE] [--8bit]
//
// Without --path it runs the path the decoder chooses for this processor.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "decoder/decoder.h"
#include "decoder/decoder_path.h"

namespace {

struct Run {
  double cpuSeconds;
  double audioSeconds;
  int64_t frames;
};

bool readFile(const char* path, std::vector<uint8_t>& out) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
  std::fclose(f);
  return true;
}

int32_t clampLength(size_t n) { return n > 0x7FFFFFF0 ? 0x7FFFFFF0 : static_cast<int32_t>(n); }

bool decodeOnce(const std::vector<uint8_t>& file, const DecoderOptions& options, Run& run) {
  using namespace orva;
  setDecoderOptions(options);
  size_t pos = 0;
  MpegFrameHeader header{};
  if (file.size() >= 10 && std::memcmp(file.data(), "ID3", 3) == 0) {
    pos = 10 + ((size_t{file[6] & 0x7Fu} << 21) | (size_t{file[7] & 0x7Fu} << 14) | (size_t{file[8] & 0x7Fu} << 7) |
                size_t{file[9] & 0x7Fu});
  }
  for (;; ++pos) {
    int32_t offset = 0;
    if (pos >= file.size() || !findFrameSync(file.data() + pos, clampLength(file.size() - pos), offset)) {
      return false;
    }
    pos += static_cast<size_t>(offset);
    if (readStreamHeader(file.data() + pos, clampLength(file.size() - pos), options, header) &&
        startDecoding(file.data() + pos, clampLength(file.size() - pos))) {
      break;
    }
  }
  pos += static_cast<size_t>(header.vbrHeaderFrameSize);
  std::vector<uint8_t> pcm(static_cast<size_t>(streamOutputBytesPerFrame()));
  const int32_t bytesPerSecond = header.outputSampleRate * header.outputChannels * header.outputBits / 8;
  int64_t outBytes = 0;
  run.frames = 0;
  const std::clock_t t0 = std::clock();
  while (pos + 4 < file.size()) {
    FrameDecodeJob job{};
    job.input = file.data() + pos;
    job.inputLength = clampLength(file.size() - pos);
    job.output = pcm.data();
    if (decodeFrame(job)) {
      pos += static_cast<size_t>(job.inputLength);
      outBytes += job.outputLength;
      ++run.frames;
      continue;
    }
    if (getDecoderError() == DECODER_ERR_NEED_DATA) break;
    int32_t offset = 0;
    ++pos;
    if (!findFrameSync(file.data() + pos, clampLength(file.size() - pos), offset)) break;
    pos += static_cast<size_t>(offset);
  }
  run.cpuSeconds = static_cast<double>(std::clock() - t0) / CLOCKS_PER_SEC;
  run.audioSeconds = static_cast<double>(outBytes) / bytesPerSecond;
  return run.frames > 0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* path = nullptr;
  int runs = 5;
  DecoderOptions options{0, 0, 24000};
  const char* pathName = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (a == "--shift" && i + 1 < argc) {
      options.downsampleShift = std::clamp(std::atoi(argv[++i]), 0, 2);
    } else if (a == "--channels" && i + 1 < argc) {
      const std::string m = argv[++i];
      options.outputFlags = (options.outputFlags & ~3) | (m == "mix" ? 1 : m == "left" ? 2 : m == "right" ? 3 : 0);
    } else if (a == "--path" && i + 1 < argc) {
      pathName = argv[++i];
    } else if (a == "--8bit") {
      options.outputFlags |= 8;
    } else if (path == nullptr && a[0] != '-') {
      path = argv[i];
    } else {
      std::fprintf(stderr,
                   "usage: %s FILE [--runs N] [--path plain|sse2|avx2] [--shift N] [--channels MODE] [--8bit]\n",
                   argv[0]);
      return 2;
    }
  }
  std::vector<uint8_t> file;
  if (path == nullptr || !readFile(path, file)) {
    std::fprintf(stderr, "cannot read %s\n", path ? path : "(no file)");
    return 1;
  }
  orva::initDecoder();
  orva::setEqualizerGains(nullptr);
  if (pathName != nullptr) {
    using namespace orva;
    const std::string n = pathName;
    const DecoderPath p = n == "avx2" ? DECODER_PATH_AVX2 : n == "sse2" ? DECODER_PATH_SSE2 : DECODER_PATH_PLAIN;
    if ((n != "plain" && n != "c" && p == DECODER_PATH_PLAIN) || !selectDecoderPath(p)) {
      std::fprintf(stderr, "path %s is not available here\n", pathName);
      return 1;
    }
  }
  std::vector<double> perSecond;
  Run run{};
  for (int r = 0; r < runs; ++r) {
    if (!decodeOnce(file, options, run)) {
      std::fprintf(stderr, "%s: no decodable audio\n", path);
      return 1;
    }
    perSecond.push_back(run.cpuSeconds / run.audioSeconds);
  }
  std::sort(perSecond.begin(), perSecond.end());
  const double median = perSecond[perSecond.size() / 2];
  std::printf("%s: %lld frames, %.1f s of audio, %d runs, %s path\n", path, static_cast<long long>(run.frames),
              run.audioSeconds, runs, orva::decoderPathName(orva::selectedDecoderPath()));
  std::printf("cpu per audio second: %.3f ms (median; min %.3f, max %.3f); realtime factor %.0fx\n", median * 1000,
              perSecond.front() * 1000, perSecond.back() * 1000, 1.0 / median);
  return 0;
}

// orva-cli decode: decodes an MPEG audio file to a PCM WAV file, driving the
// decoder directly frame by frame and resynchronising after damaged frames
// the way the playback thread does.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "decoder/decoder.h"

namespace orva::cli {
namespace {

struct DecodeArgs {
  const char* input = nullptr;
  const char* output = nullptr;
  DecoderOptions options{0, 0, 24000};
  bool equalizer = false;
  int32_t bands[10] = {};
};

void printUsage(std::FILE* to) {
  std::fputs(
      "usage: orva-cli decode FILE -o OUT.wav [options]\n"
      "  --shift N        down-sampling: 0 full, 1 half, 2 quarter rate\n"
      "  --channels MODE  stereo (as the stream), mix, left or right\n"
      "  --8bit           8-bit unsigned samples instead of 16-bit\n"
      "  --bandwidth HZ   highest frequency decoded (default 24000)\n"
      "  --eq V0,...,V9   ten equalizer bands in tenths of a decibel\n",
      to);
}

bool parseInt(const char* text, long lo, long hi, int32_t& out) {
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || v < lo || v > hi) return false;
  out = static_cast<int32_t>(v);
  return true;
}

bool parseBands(const char* text, int32_t* bands) {
  std::string s(text);
  size_t pos = 0;
  for (int b = 0; b < 10; ++b) {
    const size_t comma = s.find(',', pos);
    const bool last = b == 9;
    if (last != (comma == std::string::npos)) return false;
    const std::string item = s.substr(pos, last ? std::string::npos : comma - pos);
    if (!parseInt(item.c_str(), -100000, 100000, bands[b])) return false;
    pos = comma + 1;
  }
  return true;
}

// Returns 0 when parsed, else the exit status to return.
int parseArgs(int argc, char** argv, DecodeArgs& a) {
  for (int i = 0; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "-h" || arg == "--help") {
      printUsage(stdout);
      return -1;
    } else if (arg == "-o" && hasValue) {
      a.output = argv[++i];
    } else if (arg == "--shift" && hasValue) {
      if (!parseInt(argv[++i], 0, 2, a.options.downsampleShift)) return 2;
    } else if (arg == "--channels" && hasValue) {
      static const char* kModes[4] = {"stereo", "mix", "left", "right"};
      const std::string m = argv[++i];
      int32_t mode = -1;
      for (int32_t k = 0; k < 4; ++k) {
        if (m == kModes[k]) mode = k;
      }
      if (mode < 0) return 2;
      a.options.outputFlags = (a.options.outputFlags & ~3) | mode;
    } else if (arg == "--8bit") {
      a.options.outputFlags |= 8;
    } else if (arg == "--bandwidth" && hasValue) {
      if (!parseInt(argv[++i], 1, 1000000, a.options.bandwidthLimitHz)) return 2;
    } else if (arg == "--eq" && hasValue) {
      if (!parseBands(argv[++i], a.bands)) return 2;
      a.equalizer = true;
    } else if (!arg.empty() && arg[0] != '-' && a.input == nullptr) {
      a.input = argv[i];
    } else {
      return 2;
    }
  }
  return a.input != nullptr && a.output != nullptr ? 0 : 2;
}

bool readWholeFile(const char* path, std::vector<uint8_t>& bytes) {
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  uint8_t chunk[65536];
  size_t n = 0;
  while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
  const bool ok = std::ferror(f) == 0;
  std::fclose(f);
  return ok;
}

void putLe(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

bool writeWave(const char* path, const MpegFrameHeader& h, const std::vector<uint8_t>& pcm) {
  std::vector<uint8_t> head;
  const uint32_t dataBytes = static_cast<uint32_t>(pcm.size());
  const uint32_t blockAlign = static_cast<uint32_t>(h.outputChannels * h.outputBits / 8);
  head.insert(head.end(), {'R', 'I', 'F', 'F'});
  putLe(head, 36 + dataBytes + (dataBytes & 1), 4);
  head.insert(head.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  putLe(head, 16, 4);
  putLe(head, 1, 2);  // PCM
  putLe(head, static_cast<uint32_t>(h.outputChannels), 2);
  putLe(head, static_cast<uint32_t>(h.outputSampleRate), 4);
  putLe(head, static_cast<uint32_t>(h.outputSampleRate) * blockAlign, 4);
  putLe(head, blockAlign, 2);
  putLe(head, static_cast<uint32_t>(h.outputBits), 2);
  head.insert(head.end(), {'d', 'a', 't', 'a'});
  putLe(head, dataBytes, 4);
  std::FILE* f = std::fopen(path, "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(head.data(), 1, head.size(), f) == head.size();
  ok = ok && std::fwrite(pcm.data(), 1, pcm.size(), f) == pcm.size();
  if (ok && (dataBytes & 1)) ok = std::fputc(0, f) != EOF;
  return std::fclose(f) == 0 && ok;
}

// Offset of the first audio frame: after an ID3v2 tag, at the first sync
// whose stream header reads and whose decoding can start.
bool findStreamStart(const std::vector<uint8_t>& bytes, size_t& pos, MpegFrameHeader& header) {
  pos = 0;
  if (bytes.size() >= 10 && std::memcmp(bytes.data(), "ID3", 3) == 0) {
    const size_t tagSize = (size_t{bytes[6] & 0x7Fu} << 21) | (size_t{bytes[7] & 0x7Fu} << 14) |
                           (size_t{bytes[8] & 0x7Fu} << 7) | size_t{bytes[9] & 0x7Fu};
    pos = 10 + tagSize + ((bytes[5] & 0x10) ? 10 : 0);
  }
  while (pos < bytes.size()) {
    int32_t offset = 0;
    const size_t left = bytes.size() - pos;
    const int32_t length = left > 0x7FFFFFF0 ? 0x7FFFFFF0 : static_cast<int32_t>(left);
    if (!findFrameSync(bytes.data() + pos, length, offset)) return false;
    pos += static_cast<size_t>(offset);
    // readStreamHeader needs 156 bytes; a shorter tail is padded by copying.
    const size_t take = bytes.size() - pos < 4096 ? bytes.size() - pos : 4096;
    std::vector<uint8_t> probe(bytes.begin() + static_cast<long>(pos),
                               bytes.begin() + static_cast<long>(pos + take));
    if (probe.size() < kStreamHeaderMinBytes) probe.resize(kStreamHeaderMinBytes, 0);
    const int32_t plen = static_cast<int32_t>(probe.size() > 0x7FFFFFF0 ? 0x7FFFFFF0 : probe.size());
    if (readStreamHeader(probe.data(), plen, header, false) &&
        startDecoding(probe.data(), plen)) {
      return true;
    }
    pos += 1;
  }
  return false;
}

}  // namespace

int runDecodeCommand(int argc, char** argv) {
  DecodeArgs a;
  const int parsed = parseArgs(argc, argv, a);
  if (parsed == -1) return 0;
  if (parsed != 0) {
    std::fputs("orva-cli decode: bad arguments\n", stderr);
    printUsage(stderr);
    return 2;
  }
  std::vector<uint8_t> bytes;
  if (!readWholeFile(a.input, bytes)) {
    std::fprintf(stderr, "orva-cli decode: cannot read %s\n", a.input);
    return 1;
  }
  initDecoder();
  setDecoderOptions(a.options);
  setEqualizerGains(a.equalizer ? a.bands : nullptr);
  size_t pos = 0;
  MpegFrameHeader header{};
  if (!findStreamStart(bytes, pos, header)) {
    std::fprintf(stderr, "orva-cli decode: no decodable MPEG audio in %s (decoder error %d)\n",
                 a.input, getDecoderError());
    return 1;
  }
  pos += static_cast<size_t>(header.vbrHeaderFrameSize);  // the VBR header frame holds no audio

  std::vector<uint8_t> pcm;
  std::vector<uint8_t> frameOut(static_cast<size_t>(streamOutputBytesPerFrame()) + 16);
  int32_t frames = 0, resyncs = 0;
  while (pos + 4 < bytes.size()) {
    FrameDecodeJob job{};
    job.input = bytes.data() + pos;
    const size_t left = bytes.size() - pos;
    job.inputLength = left > 0x7FFFFFF0 ? 0x7FFFFFF0 : static_cast<int32_t>(left);
    job.output = frameOut.data();
    if (decodeFrame(job)) {
      pcm.insert(pcm.end(), frameOut.begin(), frameOut.begin() + job.outputLength);
      pos += static_cast<size_t>(job.inputLength);
      ++frames;
      continue;
    }
    if (getDecoderError() == DECODER_ERR_NEED_DATA) break;  // a truncated last frame
    // Damaged: skip a byte and look for the next sync.
    ++resyncs;
    int32_t offset = 0;
    pos += 1;
    const size_t rest = bytes.size() - pos;
    if (!findFrameSync(bytes.data() + pos, rest > 0x7FFFFFF0 ? 0x7FFFFFF0 : static_cast<int32_t>(rest),
                       offset)) {
      break;
    }
    pos += static_cast<size_t>(offset);
  }
  if (!writeWave(a.output, header, pcm)) {
    std::fprintf(stderr, "orva-cli decode: cannot write %s\n", a.output);
    return 1;
  }
  std::fprintf(stderr, "%s: %d frames, %d resyncs, %d Hz, %d ch, %d bit\n", a.input, frames,
               resyncs, header.outputSampleRate, header.outputChannels, header.outputBits);
  return 0;
}

}  // namespace orva::cli

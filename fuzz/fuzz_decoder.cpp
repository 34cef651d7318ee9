// Fuzz target: arbitrary bytes of any layer through startDecoding and
// decodeFrame, with the engine's resynchronisation (skip a byte, find the
// next sync) and a seek's muted stretch. The first two bytes pick the decoder options.
// Every input goes through each decoder path this processor runs, and their
// outputs must be the same bytes.
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "decoder/decoder.h"
#include "decoder/decoder_path.h"

namespace {

int32_t clampLength(size_t n) { return n > 0x7FFFFFF0 ? 0x7FFFFFF0 : static_cast<int32_t>(n); }

// Decodes the input on the selected path; the PCM of every frame, one after
// the other.
std::vector<uint8_t> decodeAll(const uint8_t* data, size_t size) {
  std::vector<uint8_t> all;
  const uint8_t a = data[0], b = data[1];
  DecoderOptions options{a % 3, (a >> 2) & 0xB, (b & 0x80) ? 24000 : 500 + 200 * (b & 0x7F)};
  orva::setDecoderOptions(options);
  orva::setFullBandwidthForTesting((b & 0x40) != 0);
  const int32_t bands[10] = {a, -b, 200, -200, 0, 30, -30, 100, b, -a};
  orva::setEqualizerGains((a & 0x40) ? bands : nullptr);

  // A private copy, so that any read past the input is caught.
  const std::vector<uint8_t> bytes(data + 2, data + size);
  const uint8_t* p = bytes.data();
  const size_t n = bytes.size();
  size_t pos = 0;
  bool started = false;
  for (int tries = 0; tries < 64 && pos < n && !started; ++tries) {
    int32_t offset = 0;
    if (!orva::findFrameSync(p + pos, clampLength(n - pos), offset)) break;
    pos += static_cast<size_t>(offset);
    started = orva::startDecoding(p + pos, clampLength(n - pos));
    if (!started) ++pos;
  }
  orva::setFullBandwidthForTesting(false);
  if (!started) return all;

  std::vector<uint8_t> pcm(static_cast<size_t>(orva::streamOutputBytesPerFrame()));
  orva::FrameDecodeJob last{};
  for (int frames = 0; frames < 2000 && pos + 4 < n; ++frames) {
    if (frames == 3 && (b & 1)) orva::muteLayerHandler();
    if (frames == 6 && (b & 1)) orva::restoreLayerHandler(last);
    orva::FrameDecodeJob job{};
    job.input = p + pos;
    job.inputLength = clampLength(n - pos);
    job.output = pcm.data();
    if (orva::decodeFrame(job)) {
      pos += static_cast<size_t>(job.inputLength);
      all.insert(all.end(), pcm.begin(), pcm.begin() + job.outputLength);
      last = job;
      continue;
    }
    if (orva::getDecoderError() == orva::DECODER_ERR_NEED_DATA) break;
    int32_t offset = 0;
    ++pos;
    if (pos >= n || !orva::findFrameSync(p + pos, clampLength(n - pos), offset)) break;
    pos += static_cast<size_t>(offset);
  }
  return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    orva::initDecoder();
    return true;
  }();
  (void)ready;
  if (size < 2 || size > (1u << 20)) return 0;
  orva::selectDecoderPath(orva::DECODER_PATH_PLAIN);
  const std::vector<uint8_t> plain = decodeAll(data, size);
  for (orva::DecoderPath path : {orva::DECODER_PATH_SSE2, orva::DECODER_PATH_AVX2}) {
    if (!orva::selectDecoderPath(path)) continue;
    if (decodeAll(data, size) != plain) __builtin_trap();  // a path wrote other bytes than the plain code
  }
  return 0;
}

#include "output/analyser.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>

#include "output/fft_analyser.h"
#include "output/output_queue.h"

namespace orva {
namespace {

constexpr int32_t kTransformSize = 2 * kAnalyserBands;
constexpr int32_t kMaxChannels = 2;
constexpr int32_t kWindowCapacity = kTransformSize * kMaxChannels * 2;

std::atomic<int32_t> gMode{1};

struct Analysers {
  std::mutex reader;  // one caller at a time: the transforms share their work areas
  std::array<FftAnalyser, 4> byMode{
      FftAnalyser(kTransformSize, AnalyserWindow::Rectangular), FftAnalyser(kTransformSize, AnalyserWindow::Hann),
      FftAnalyser(kTransformSize, AnalyserWindow::Hamming), FftAnalyser(kTransformSize, AnalyserWindow::Blackman)};
  std::array<uint8_t, kWindowCapacity> window{};
};

// Built at the first call, so a host that never asks pays nothing.
Analysers& analysers() {
  static Analysers a;
  return a;
}

// Sample `i` of `channel` as 16 bits: 8-bit PCM is unsigned, so its middle
// value 128 is silence and each step is 256 of 16 bits.
int16_t sampleAt(const uint8_t* pcm, const SoundingPcm& format, int32_t i, int32_t channel) {
  const int32_t index = i * format.channels + channel;
  if (format.bits == 8) return static_cast<int16_t>((pcm[index] - 128) * 256);
  return static_cast<int16_t>(pcm[2 * index] | (pcm[2 * index + 1] << 8));
}

// The PCM from the play position on into the window buffer; both sides are
// zeroed when there is none. Both readers fill 256 values per side.
static_assert(kAnalyserBands == kWaveformSamples);
SoundingPcm readSounding(Analysers& a, int32_t frames, int32_t* left, int32_t* right) {
  const SoundingPcm pcm = outputCopySounding(frames, a.window.data(), kWindowCapacity);
  if (pcm.bytes == 0) {
    std::fill(left, left + kAnalyserBands, 0);
    std::fill(right, right + kAnalyserBands, 0);
  }
  return pcm;
}

}  // namespace

int32_t analyserSetMode(int32_t mode) {
  gMode.store(mode == 0 || mode == 2 || mode == 3 ? mode : 1);
  return mode;
}

int32_t analyserMode() { return gMode.load(); }

int32_t analyserGetSpectrum(int32_t* left, int32_t* right) {
  if (left == nullptr || right == nullptr) return 0;
  Analysers& a = analysers();
  std::lock_guard<std::mutex> lock(a.reader);
  const SoundingPcm pcm = readSounding(a, kTransformSize, left, right);
  if (pcm.bytes == 0) return 0;
  FftAnalyser& fft = a.byMode[static_cast<size_t>(gMode.load())];
  int32_t* sides[kMaxChannels] = {left, right};
  for (int32_t channel = 0; channel < kMaxChannels; ++channel) {
    if (channel >= pcm.channels) {
      std::fill(sides[channel], sides[channel] + kAnalyserBands, 0);
      continue;
    }
    for (int32_t i = 0; i < kTransformSize; ++i) fft.setSample(i, sampleAt(a.window.data(), pcm, i, channel));
    fft.transform(sides[channel]);
  }
  return kTransformSize;
}

int32_t analyserGetWaveform(int32_t* left, int32_t* right) {
  if (left == nullptr || right == nullptr || outputGetPosition() == 0) return 0;
  Analysers& a = analysers();
  std::lock_guard<std::mutex> lock(a.reader);
  const SoundingPcm pcm = readSounding(a, kWaveformSamples, left, right);
  if (pcm.bytes == 0) return 0;
  int32_t* sides[kMaxChannels] = {left, right};
  for (int32_t channel = 0; channel < kMaxChannels; ++channel) {
    for (int32_t i = 0; i < kWaveformSamples; ++i) {
      sides[channel][i] = channel < pcm.channels ? sampleAt(a.window.data(), pcm, i, channel) * 100 / 32767 : 0;
    }
  }
  return kWaveformSamples;
}

}  // namespace orva

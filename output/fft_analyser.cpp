#include "output/fft_analyser.h"

#include <cmath>

namespace orva {
namespace {

constexpr double kPi = 3.14159265358979323846;

double coefficient(AnalyserWindow window, int32_t j, int32_t n) {
  const double x = 2.0 * kPi * j / n;
  switch (window) {
    case AnalyserWindow::Hann: return 0.5 - 0.5 * std::cos(x);
    case AnalyserWindow::Hamming: return 0.54 - 0.46 * std::cos(x);
    case AnalyserWindow::Blackman: return 0.42 - 0.5 * std::cos(x) + 0.08 * std::cos(2.0 * x);
    case AnalyserWindow::Rectangular: break;
  }
  return 1.0;
}

int32_t stagesOf(int32_t n) {
  int32_t stages = 0;
  while ((n >>= 1) > 0) ++stages;
  return stages;
}

// The index whose bits are those of `i` in reverse order, over `stages` bits.
int32_t reversed(int32_t i, int32_t stages) {
  int32_t r = 0;
  for (int32_t s = 0; s < stages; ++s, i >>= 1) r = (r << 1) | (i & 1);
  return r;
}

}  // namespace

FftAnalyser::FftAnalyser(int32_t size, AnalyserWindow window)
    : size_(size),
      stages_(stagesOf(size)),
      norm_(std::sqrt(static_cast<double>(size))),
      input_(static_cast<size_t>(size), 0.0),
      window_(static_cast<size_t>(size)),
      bitReverse_(static_cast<size_t>(size)),
      work_(static_cast<size_t>(size)) {
  for (int32_t j = 0; j < size; ++j) {
    window_[static_cast<size_t>(j)] = coefficient(window, j, size);
    bitReverse_[static_cast<size_t>(j)] = reversed(j, stages_);
  }
  for (int32_t s = 1; s <= stages_; ++s) {
    const int32_t span = 1 << s;
    std::vector<std::complex<double>> table(static_cast<size_t>(span / 2));
    for (int32_t j = 0; j < span / 2; ++j) {
      const double angle = 2.0 * kPi * j / span;
      table[static_cast<size_t>(j)] = {std::cos(angle), -std::sin(angle)};
    }
    twiddles_.push_back(std::move(table));
  }
}

void FftAnalyser::setSample(int32_t index, int16_t sample) {
  if (index < 0 || index >= size_) return;
  input_[static_cast<size_t>(index)] = sample * window_[static_cast<size_t>(index)];
}

void FftAnalyser::transform(int32_t* levels) {
  for (int32_t i = 0; i < size_; ++i)
    work_[static_cast<size_t>(bitReverse_[static_cast<size_t>(i)])] = input_[static_cast<size_t>(i)];
  for (int32_t s = 1; s <= stages_; ++s) {
    const int32_t half = 1 << (s - 1);
    const std::vector<std::complex<double>>& table = twiddles_[static_cast<size_t>(s - 1)];
    for (int32_t j = 0; j < half; ++j) {
      const std::complex<double> w = table[static_cast<size_t>(j)];
      for (int32_t b = j; b < size_; b += 2 * half) {
        const std::complex<double> x = work_[static_cast<size_t>(b + half)];
        // Written out: the library's product also handles infinities, which
        // never occur here, at several times the cost.
        const std::complex<double> t{w.real() * x.real() - w.imag() * x.imag(),
                                     w.real() * x.imag() + w.imag() * x.real()};
        work_[static_cast<size_t>(b + half)] = work_[static_cast<size_t>(b)] - t;
        work_[static_cast<size_t>(b)] += t;
      }
    }
  }
  for (int32_t i = 0; i < size_ / 2; ++i) {
    const std::complex<double> x = work_[static_cast<size_t>(i)];
    const double magnitude = std::sqrt(x.real() * x.real() + x.imag() * x.imag());
    const double level = magnitude > 0.0 ? 20.0 * std::log10(magnitude / norm_) : kSilentBandLevel;
    levels[i] = level > kSilentBandLevel ? static_cast<int32_t>(level) : kSilentBandLevel;
  }
}

}  // namespace orva

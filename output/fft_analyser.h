// A fast Fourier transform of a fixed size with a window, turning one
// channel's samples into levels in decibels per band. Every table (window,
// bit reversal, twiddles) is built by the constructor; a transform then
// allocates nothing.
#pragma once

#include <complex>
#include <cstdint>
#include <vector>

namespace orva {

enum class AnalyserWindow : int32_t { Rectangular = 0, Hann = 1, Hamming = 2, Blackman = 3 };

// The level a band gets when its magnitude is zero, and the floor of every
// level: nothing a real signal gives is lower (one LSB of noise reads about
// -10), so a silent band and rounding residue read alike.
inline constexpr int32_t kSilentBandLevel = -100;

class FftAnalyser {
 public:
  // `size` is a power of two.
  FftAnalyser(int32_t size, AnalyserWindow window);

  int32_t size() const { return size_; }
  double windowCoefficient(int32_t index) const { return window_[static_cast<size_t>(index)]; }

  void setSample(int32_t index, int16_t sample);
  // Writes size / 2 levels: 20 log10(|X[i]| / sqrt(size)), truncated toward
  // zero, never below kSilentBandLevel.
  void transform(int32_t* levels);

 private:
  int32_t size_;
  int32_t stages_;
  double norm_;
  std::vector<double> input_;
  std::vector<double> window_;
  std::vector<int32_t> bitReverse_;
  std::vector<std::complex<double>> work_;
  // Stage s (from 1) uses the first 2^(s-1) entries of its table.
  std::vector<std::vector<std::complex<double>>> twiddles_;
};

}  // namespace orva

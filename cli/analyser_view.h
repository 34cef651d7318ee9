// What orva-cli play draws under its status line with --spectrum or
// --waveform: the analyser's readings turned into rows of text, 32 columns
// per channel, left and right side by side. Pure: the player reads the
// engine and prints the rows.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace orva::cli {

inline constexpr int32_t kViewRows = 6;
inline constexpr int32_t kViewColumns = 32;  // per channel

enum class ViewKind { Spectrum, Waveform };

class AnalyserView {
 public:
  // `unicode`: the terminal shows UTF-8, so cells are drawn with eighth
  // blocks; else with ASCII.
  AnalyserView(ViewKind kind, bool unicode) : kind_(kind), unicode_(unicode) {}

  ViewKind kind() const { return kind_; }
  // 256 values per side: levels in decibels (spectrum) or samples scaled to
  // -100..100 (waveform).
  const std::array<std::string, kViewRows>& draw(const int32_t* left, const int32_t* right);

 private:
  void drawSpectrumSide(const int32_t* levels, int32_t column);
  void drawWaveformSide(const int32_t* samples, int32_t column);
  void putCell(int32_t row, int32_t column, int32_t eighths);

  ViewKind kind_;
  bool unicode_;
  std::array<std::array<uint8_t, 2 * kViewColumns + 2>, kViewRows> cells_{};  // eighths filled, 0..8
  std::array<std::string, kViewRows> rows_;
};

// The first band of spectrum column `column` (0..kViewColumns); the bands
// are grouped so that each column spans an equal ratio of frequencies, and
// each holds one band at least. Band 0 (the constant part) is left out.
int32_t firstBandOfColumn(int32_t column);

// A level in decibels as the height of a column in eighths of a row.
int32_t spectrumHeight(int32_t level);

}  // namespace orva::cli

#include "cli/analyser_view.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orva::cli {
namespace {

constexpr int32_t kBands = 256;
constexpr int32_t kEighths = 8 * kViewRows;
// Music's loudest bands reach about 100 dB through the analyser's windows;
// below 30 dB is the noise of quiet 16-bit passages.
constexpr int32_t kQuietLevel = 30;
constexpr int32_t kLoudLevel = 102;
constexpr int32_t kGap = 2;  // columns between the two sides

// Cells filled from the bottom by 0..8 eighths. The blocks stay UTF-8 in
// every build (the Windows build turns plain literals into cp932, which
// has no eighth blocks).
constexpr const char8_t* kBlocks[] = {u8" ", u8"▁", u8"▂", u8"▃", u8"▄", u8"▅", u8"▆", u8"▇", u8"█"};
constexpr const char8_t* kAscii[] = {u8" ", u8" ", u8".", u8".", u8":", u8":", u8"|", u8"|", u8"#"};
// The waveform's marks in ASCII: where in its cell the value lies.
constexpr const char8_t* kAsciiMarks[] = {u8" ", u8"_", u8"_", u8"_", u8"-", u8"-", u8"-", u8"'", u8"'"};

}  // namespace

int32_t firstBandOfColumn(int32_t column) {
  int32_t band = 1;
  for (int32_t c = 1; c <= column; ++c) {
    const auto even = static_cast<int32_t>(std::lround(std::pow(kBands, static_cast<double>(c) / kViewColumns)));
    band = std::max(band + 1, even);
  }
  return std::min(band, kBands);
}

int32_t spectrumHeight(int32_t level) {
  const int32_t h = (level - kQuietLevel) * kEighths / (kLoudLevel - kQuietLevel);
  return std::clamp(h, 0, kEighths);
}

const std::array<std::string, kViewRows>& AnalyserView::draw(const int32_t* left, const int32_t* right) {
  for (auto& row : cells_) row.fill(0);
  if (kind_ == ViewKind::Spectrum) {
    drawSpectrumSide(left, 0);
    drawSpectrumSide(right, kViewColumns + kGap);
  } else {
    drawWaveformSide(left, 0);
    drawWaveformSide(right, kViewColumns + kGap);
  }
  const char8_t* const* glyphs = unicode_ ? kBlocks : (kind_ == ViewKind::Spectrum ? kAscii : kAsciiMarks);
  for (int32_t r = 0; r < kViewRows; ++r) {
    std::string& row = rows_[static_cast<size_t>(r)];
    row.clear();  // keeps its capacity: nothing is allocated after the first draw
    for (uint8_t cell : cells_[static_cast<size_t>(r)]) row += reinterpret_cast<const char*>(glyphs[cell]);
  }
  return rows_;
}

// A column of height h eighths fills whole cells from the bottom and the
// rest of it into the cell above.
void AnalyserView::drawSpectrumSide(const int32_t* levels, int32_t column) {
  for (int32_t c = 0; c < kViewColumns; ++c) {
    const int32_t first = firstBandOfColumn(c), end = firstBandOfColumn(c + 1);
    const int32_t loudest = *std::max_element(levels + first, levels + std::max(end, first + 1));
    int32_t height = spectrumHeight(loudest);
    for (int32_t r = kViewRows - 1; r >= 0 && height > 0; --r, height -= 8) putCell(r, column + c, std::min(height, 8));
  }
}

// Each column shows the sample of largest size among its eight as a mark
// at its height, the middle row being silence.
void AnalyserView::drawWaveformSide(const int32_t* samples, int32_t column) {
  constexpr int32_t perColumn = kBands / kViewColumns;
  for (int32_t c = 0; c < kViewColumns; ++c) {
    int32_t value = 0;
    for (int32_t i = c * perColumn; i < (c + 1) * perColumn; ++i) {
      if (std::abs(samples[i]) > std::abs(value)) value = samples[i];
    }
    // 100 is the top of the highest row, -100 the bottom of the lowest.
    const int32_t fromBottom = std::clamp((value + 100) * kEighths / 200, 0, kEighths - 1);
    putCell(kViewRows - 1 - fromBottom / 8, column + c, fromBottom % 8 + 1);
  }
}

void AnalyserView::putCell(int32_t row, int32_t column, int32_t eighths) {
  cells_[static_cast<size_t>(row)][static_cast<size_t>(column)] = static_cast<uint8_t>(eighths);
}

}  // namespace orva::cli

// What orva-cli play draws under its status line: the column grouping of
// the 256 bands, and the rows a reading turns into.
#include <gtest/gtest.h>

#include <string>

#include "cli/analyser_view.h"

namespace orva::cli {
namespace {

TEST(AnalyserView, ColumnsGroupTheBandsByEqualRatios) {
  EXPECT_EQ(firstBandOfColumn(0), 1);  // the constant part is not drawn
  EXPECT_EQ(firstBandOfColumn(kViewColumns), 256);
  for (int32_t c = 0; c < kViewColumns; ++c) EXPECT_LT(firstBandOfColumn(c), firstBandOfColumn(c + 1)) << c;
  // An octave is four columns at the top: bands 64..127 and 128..255.
  EXPECT_EQ(firstBandOfColumn(24), 64);
  EXPECT_EQ(firstBandOfColumn(28), 128);
  EXPECT_EQ(spectrumHeight(-100), 0);
  EXPECT_EQ(spectrumHeight(30), 0);
  EXPECT_EQ(spectrumHeight(102), 8 * kViewRows);
  EXPECT_EQ(spectrumHeight(111), 8 * kViewRows);
}

TEST(AnalyserView, ReadingsBecomeRows) {
  int32_t left[256], right[256];
  for (int32_t i = 0; i < 256; ++i) left[i] = right[i] = -100;
  left[130] = 102;  // column 28, full height
  right[1] = 66;    // column 0 of the right side, half height
  AnalyserView ascii(ViewKind::Spectrum, false);
  const auto& rows = ascii.draw(left, right);
  const size_t rightSide = kViewColumns + 2;
  for (int32_t r = 0; r < kViewRows; ++r) {
    const std::string& row = rows[static_cast<size_t>(r)];
    ASSERT_EQ(row.size(), 2 * kViewColumns + 2);
    EXPECT_EQ(row[28], '#') << r;
    EXPECT_EQ(row[rightSide], r < kViewRows / 2 ? ' ' : '#') << r;
    EXPECT_EQ(row.find_first_not_of(' ', 29), r < kViewRows / 2 ? std::string::npos : rightSide) << r;
  }
  AnalyserView blocks(ViewKind::Spectrum, true);
  EXPECT_EQ(blocks.draw(left, right)[kViewRows - 1].substr(28 * 1, 3), "\xE2\x96\x88");  // U+2588, a full cell

  // The waveform: silence is a mark in the middle, full scale the top and
  // bottom rows.
  for (int32_t i = 0; i < 256; ++i) left[i] = right[i] = 0;
  left[0] = 100;
  left[8] = -100;
  AnalyserView waveform(ViewKind::Waveform, false);
  const auto& wave = waveform.draw(left, right);
  EXPECT_EQ(wave[0][0], '\'');                 // the top of the highest cell
  EXPECT_EQ(wave[kViewRows - 1][1], '_');      // the bottom of the lowest
  EXPECT_EQ(wave[kViewRows / 2 - 1][2], '_');  // the middle: the bottom of the upper half
  for (int32_t r = 0; r < kViewRows; ++r)
    EXPECT_EQ(wave[static_cast<size_t>(r)][rightSide], r == kViewRows / 2 - 1 ? '_' : ' ');
}

}  // namespace
}  // namespace orva::cli

// Screen copies, BMP files and the tolerant comparison of the window tests.
#include "tests/shell_windows/picture_compare.h"

#include <algorithm>
#include <cstdlib>

#include "tests/support/test_support.h"

namespace orva::test {

namespace {

// Font smoothing may place a grey a few levels differently on another
// machine's font rasteriser; a change the eye would notice (a glyph moved
// by one pixel, a bevel turned round, one digit of the time) moves dozens
// of pixels by far more than this.
constexpr int32_t kChannelTolerance = 24;
constexpr int32_t kMaxDifferingPixels = 12;

bool updatingPictures() {
  const char* flag = std::getenv("ORVA_UPDATE_PICTURES");
  return flag != nullptr && flag[0] == '1';
}

std::string referencePath(const std::string& name) {
  return joinPath(joinPath(joinPath(sourceDir(), "tests"), joinPath("shell_windows", "pictures")), name + ".bmp");
}

// Beside the test program, where the build keeps its own files.
std::string actualPath(const std::string& name) {
  char program[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, program, sizeof program);
  std::string folder(program);
  folder.erase(folder.find_last_of("\\/") + 1);
  return folder + name + ".actual.bmp";
}

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize;

// A 32-bit top-down DIB section: its bits are the picture's rows as they are.
struct DibSection {
  HBITMAP bitmap = nullptr;
  const uint32_t* bits = nullptr;
};

DibSection createDibSection(HDC dc, int32_t width, int32_t height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  return DibSection{bitmap, static_cast<const uint32_t*>(bits)};
}

// DIB pixels are 0x00RRGGBB; a COLORREF is 0x00BBGGRR.
COLORREF colourOfDibPixel(uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

// Copies `width` x `height` pixels at (x, y) of `source` into a picture.
Picture copyFromDc(HDC source, int32_t x, int32_t y, int32_t width, int32_t height) {
  Picture picture;
  if (width <= 0 || height <= 0) return picture;
  const HDC memory = CreateCompatibleDC(source);
  const DibSection dib = createDibSection(memory, width, height);
  if (dib.bitmap == nullptr) {
    DeleteDC(memory);
    return picture;
  }
  const HGDIOBJ previous = SelectObject(memory, dib.bitmap);
  BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
  GdiFlush();
  picture.width = width;
  picture.height = height;
  picture.pixels.resize(static_cast<size_t>(width) * height);
  std::transform(dib.bits, dib.bits + picture.pixels.size(), picture.pixels.begin(), colourOfDibPixel);
  SelectObject(memory, previous);
  DeleteObject(dib.bitmap);
  DeleteDC(memory);
  return picture;
}

void putLittleEndian(std::vector<uint8_t>& out, size_t at, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t getLittleEndian(const std::vector<uint8_t>& in, size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = 0; i < bytes; ++i) value |= static_cast<uint32_t>(in[at + i]) << (8 * i);
  return value;
}

// BMP rows are padded to whole 32-bit words.
size_t bmpRowBytes(int32_t width) { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }

int32_t channelDifference(COLORREF a, COLORREF b) {
  const int32_t red = std::abs(static_cast<int32_t>(GetRValue(a)) - GetRValue(b));
  const int32_t green = std::abs(static_cast<int32_t>(GetGValue(a)) - GetGValue(b));
  const int32_t blue = std::abs(static_cast<int32_t>(GetBValue(a)) - GetBValue(b));
  return std::max({red, green, blue});
}

}  // namespace

Picture Picture::crop(const RECT& area) const {
  Picture part;
  const int32_t left = std::max<int32_t>(area.left, 0);
  const int32_t top = std::max<int32_t>(area.top, 0);
  const int32_t right = std::min<int32_t>(area.right, width);
  const int32_t bottom = std::min<int32_t>(area.bottom, height);
  if (right <= left || bottom <= top) return part;
  part.width = right - left;
  part.height = bottom - top;
  part.pixels.reserve(static_cast<size_t>(part.width) * part.height);
  for (int32_t y = top; y < bottom; ++y) {
    for (int32_t x = left; x < right; ++x) part.pixels.push_back(at(x, y));
  }
  return part;
}

Picture captureScreen(const RECT& screenArea) {
  const HDC screen = GetDC(nullptr);
  Picture picture = copyFromDc(screen, screenArea.left, screenArea.top, screenArea.right - screenArea.left,
                               screenArea.bottom - screenArea.top);
  ReleaseDC(nullptr, screen);
  return picture;
}

Picture captureWindow(HWND window) {
  RECT area;
  if (!GetWindowRect(window, &area)) return Picture{};
  return captureScreen(area);
}

Picture renderInMemory(int32_t width, int32_t height, COLORREF background, const std::function<void(HDC)>& paint) {
  const HDC screen = GetDC(nullptr);
  const HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  const DibSection dib = createDibSection(dc, width, height);
  const HGDIOBJ previous = SelectObject(dc, dib.bitmap);
  const HBRUSH fill = CreateSolidBrush(background);
  const RECT all{0, 0, width, height};
  FillRect(dc, &all, fill);
  DeleteObject(fill);
  paint(dc);
  Picture picture = copyFromDc(dc, 0, 0, width, height);
  SelectObject(dc, previous);
  DeleteObject(dib.bitmap);
  DeleteDC(dc);
  return picture;
}

bool writeBmp(const std::string& path, const Picture& picture) {
  const size_t rowBytes = bmpRowBytes(picture.width);
  const size_t imageBytes = rowBytes * picture.height;
  std::vector<uint8_t> file(kPixelOffset + imageBytes, 0);
  file[0] = 'B';
  file[1] = 'M';
  putLittleEndian(file, 2, static_cast<uint32_t>(file.size()), 4);
  putLittleEndian(file, 10, kPixelOffset, 4);
  putLittleEndian(file, 14, kInfoHeaderSize, 4);
  putLittleEndian(file, 18, static_cast<uint32_t>(picture.width), 4);
  putLittleEndian(file, 22, static_cast<uint32_t>(picture.height), 4);  // positive: bottom row first
  putLittleEndian(file, 26, 1, 2);
  putLittleEndian(file, 28, 24, 2);
  putLittleEndian(file, 34, static_cast<uint32_t>(imageBytes), 4);
  for (int32_t y = 0; y < picture.height; ++y) {
    uint8_t* row = &file[kPixelOffset + rowBytes * (picture.height - 1 - y)];
    for (int32_t x = 0; x < picture.width; ++x) {
      const COLORREF c = picture.at(x, y);
      row[3 * x] = GetBValue(c);
      row[3 * x + 1] = GetGValue(c);
      row[3 * x + 2] = GetRValue(c);
    }
  }
  return writeFileBytes(path, file);
}

Picture readBmp(const std::string& path) {
  const std::vector<uint8_t> file = readFileBytes(path);
  if (file.size() < kPixelOffset || file[0] != 'B' || file[1] != 'M') return Picture{};
  const uint32_t offset = getLittleEndian(file, 10, 4);
  const auto width = static_cast<int32_t>(getLittleEndian(file, 18, 4));
  const auto height = static_cast<int32_t>(getLittleEndian(file, 22, 4));
  const uint32_t bits = getLittleEndian(file, 28, 2);
  const uint32_t compression = getLittleEndian(file, 30, 4);
  if (bits != 24 || compression != BI_RGB || width <= 0 || height <= 0 || width > 4096 || height > 4096) {
    return Picture{};
  }
  const size_t rowBytes = bmpRowBytes(width);
  if (offset > file.size() || file.size() - offset < rowBytes * height) return Picture{};
  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.pixels.resize(static_cast<size_t>(width) * height);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row = &file[offset + rowBytes * (height - 1 - y)];
    for (int32_t x = 0; x < width; ++x) {
      picture.pixels[static_cast<size_t>(y) * width + x] = RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    }
  }
  return picture;
}

PictureDifference comparePictures(const Picture& expected, const Picture& actual, int32_t channelTolerance) {
  PictureDifference difference;
  difference.sameSize = expected.width == actual.width && expected.height == actual.height;
  if (!difference.sameSize) return difference;
  for (size_t i = 0; i < expected.pixels.size(); ++i) {
    const int32_t d = channelDifference(expected.pixels[i], actual.pixels[i]);
    difference.largestChannelDifference = std::max(difference.largestChannelDifference, d);
    if (d > channelTolerance) ++difference.differingPixels;
  }
  return difference;
}

RECT darkPixelBounds(const Picture& picture, const RECT& area, int32_t threshold) {
  RECT bounds{area.right, area.bottom, area.left, area.top};
  for (int32_t y = area.top; y < area.bottom; ++y) {
    for (int32_t x = area.left; x < area.right; ++x) {
      const COLORREF c = picture.at(x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) >= threshold) continue;
      bounds.left = std::min<LONG>(bounds.left, x);
      bounds.top = std::min<LONG>(bounds.top, y);
      bounds.right = std::max<LONG>(bounds.right, x + 1);
      bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
    }
  }
  if (bounds.right <= bounds.left) return RECT{0, 0, 0, 0};
  return bounds;
}

::testing::AssertionResult matchesReference(const std::string& name, const Picture& actual) {
  if (actual.empty()) return ::testing::AssertionFailure() << name << ": nothing was captured";
  if (updatingPictures()) {
    if (writeBmp(referencePath(name), actual)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "cannot write " << referencePath(name);
  }
  const Picture expected = readBmp(referencePath(name));
  if (expected.empty()) {
    return ::testing::AssertionFailure() << "no reference " << referencePath(name)
                                         << "; run with ORVA_UPDATE_PICTURES=1 to write it";
  }
  const PictureDifference d = comparePictures(expected, actual, kChannelTolerance);
  if (d.sameSize && d.differingPixels <= kMaxDifferingPixels) {
    DeleteFileA(actualPath(name).c_str());  // left by an earlier mismatch
    return ::testing::AssertionSuccess();
  }
  writeBmp(actualPath(name), actual);
  return ::testing::AssertionFailure() << name << ": " << actual.width << "x" << actual.height << " against "
                                       << expected.width << "x" << expected.height << ", " << d.differingPixels
                                       << " pixels differ (largest channel difference " << d.largestChannelDifference
                                       << "); the picture taken is " << actualPath(name);
}

}  // namespace orva::test

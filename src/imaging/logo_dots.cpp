#include "imaging/logo_dots.h"

#include <QImage>
#include <vector>

namespace ombrel {

namespace {

constexpr int kWhite = 255;

int roundUpEighths(int pixels) { return (pixels + 7) / 8; }

// The pixel's brightness over white paper (qGray's weights).
int brightness(QRgb pixel) {
  const int gray = qGray(pixel);
  const int alpha = qAlpha(pixel);
  if (alpha == 255) return gray;
  return (gray * alpha + kWhite * (255 - alpha)) / 255;
}

// One row of brightness values; ARGB32 and RGB32 are read as they are, other
// formats were converted before.
void readRow(const QImage& image, int y, std::vector<int>& row) {
  const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(y));
  for (int x = 0; x < image.width(); ++x) row[static_cast<std::size_t>(x)] = brightness(pixels[x]);
}

void setBlack(std::uint8_t* row, int x) { row[x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8)); }

void threshold(const QImage& image, int level, int widthBytes, Bytes& dots) {
  std::vector<int> row(static_cast<std::size_t>(image.width()));
  for (int y = 0; y < image.height(); ++y) {
    readRow(image, y, row);
    std::uint8_t* out = dots.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(widthBytes);
    for (int x = 0; x < image.width(); ++x) {
      if (row[static_cast<std::size_t>(x)] < level) setBlack(out, x);
    }
  }
}

// Floyd–Steinberg: each pixel's error goes 7/16 right, 3/16 down-left,
// 5/16 down and 1/16 down-right, in sixteenths kept as whole numbers.
void dither(const QImage& image, int widthBytes, Bytes& dots) {
  const auto width = static_cast<std::size_t>(image.width());
  std::vector<int> row(width);
  std::vector<int> here(width + 2, 0);  // errors for this row, offset by one
  std::vector<int> below(width + 2, 0);
  for (int y = 0; y < image.height(); ++y) {
    readRow(image, y, row);
    std::uint8_t* out = dots.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(widthBytes);
    for (std::size_t x = 0; x < width; ++x) {
      const int value = row[x] + here[x + 1] / 16;
      const bool black = value < 128;
      if (black) setBlack(out, static_cast<int>(x));
      const int error = value - (black ? 0 : kWhite);
      here[x + 2] += error * 7;
      below[x] += error * 3;
      below[x + 1] += error * 5;
      below[x + 2] += error;
    }
    here.swap(below);
    std::fill(below.begin(), below.end(), 0);
  }
}

}  // namespace

std::size_t logoDotsSize(int pixelWidth, int pixelHeight) {
  return static_cast<std::size_t>(roundUpEighths(pixelWidth)) * static_cast<std::size_t>(roundUpEighths(pixelHeight)) * 8;
}

LogoDots reduceToDots(const QImage& picture, const LogoReduction& reduction) {
  LogoDots result;
  result.widthBytes = roundUpEighths(picture.width());
  result.heightUnits = roundUpEighths(picture.height());
  result.dots.assign(logoDotsSize(picture.width(), picture.height()), 0);
  const bool direct = picture.format() == QImage::Format_RGB32 || picture.format() == QImage::Format_ARGB32;
  const QImage image = direct ? picture : picture.convertToFormat(QImage::Format_ARGB32);
  if (reduction.dither) {
    dither(image, result.widthBytes, result.dots);
  } else {
    threshold(image, reduction.threshold, result.widthBytes, result.dots);
  }
  return result;
}

}  // namespace ombrel

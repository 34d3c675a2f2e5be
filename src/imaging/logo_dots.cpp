#include "imaging/logo_dots.h"

#include <QImage>
#include <algorithm>
#include <vector>

namespace ombrel {

namespace {

constexpr int kWhite = 255;

int roundUpEighths(int pixels) { return (pixels + 7) / 8; }

// The pixel's brightness over white paper (qGray's weights); an opaque
// picture skips the blending.
template <bool kAlpha>
int brightness(QRgb pixel) {
  const int gray = qGray(pixel);
  if constexpr (kAlpha) {
    const int alpha = qAlpha(pixel);
    if (alpha != 255) return (gray * alpha + kWhite * (255 - alpha)) / 255;
  }
  return gray;
}

const QRgb* rowOf(const QImage& image, int y) { return reinterpret_cast<const QRgb*>(image.constScanLine(y)); }

std::uint8_t* dotRow(Bytes& dots, int y, int widthBytes) {
  return dots.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(widthBytes);
}

// Eight pixels a byte, the leftmost in bit 0x80; a last byte short of eight
// pixels keeps its padding bits white.
template <bool kAlpha>
void threshold(const QImage& image, int level, int widthBytes, Bytes& dots) {
  const int width = image.width();
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* pixels = rowOf(image, y);
    std::uint8_t* out = dotRow(dots, y, widthBytes);
    for (int x0 = 0; x0 < width; x0 += 8) {
      const int count = std::min(8, width - x0);
      unsigned bits = 0;
      for (int i = 0; i < count; ++i) bits |= (brightness<kAlpha>(pixels[x0 + i]) < level ? 0x80u : 0u) >> i;
      out[x0 / 8] = static_cast<std::uint8_t>(bits);
    }
  }
}

// Floyd–Steinberg: each pixel's error goes 7/16 right, 3/16 down-left,
// 5/16 down and 1/16 down-right, in sixteenths kept as whole numbers.
template <bool kAlpha>
void dither(const QImage& image, int widthBytes, Bytes& dots) {
  const auto width = static_cast<std::size_t>(image.width());
  std::vector<int> here(width + 2, 0);  // errors for this row, offset by one
  std::vector<int> below(width + 2, 0);
  for (int y = 0; y < image.height(); ++y) {
    const QRgb* pixels = rowOf(image, y);
    std::uint8_t* out = dotRow(dots, y, widthBytes);
    for (std::size_t x = 0; x < width; ++x) {
      const int value = brightness<kAlpha>(pixels[x]) + here[x + 1] / 16;
      const bool black = value < 128;
      if (black) out[x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
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

template <bool kAlpha>
void reduce(const QImage& image, const LogoReduction& reduction, LogoDots& result) {
  if (reduction.dither) {
    dither<kAlpha>(image, result.widthBytes, result.dots);
  } else {
    threshold<kAlpha>(image, reduction.threshold, result.widthBytes, result.dots);
  }
}

}  // namespace

std::size_t logoDotsSize(int pixelWidth, int pixelHeight) {
  return static_cast<std::size_t>(roundUpEighths(pixelWidth)) * static_cast<std::size_t>(roundUpEighths(pixelHeight)) *
         8;
}

LogoDots reduceToDots(const QImage& picture, const LogoReduction& reduction) {
  LogoDots result;
  result.widthBytes = roundUpEighths(picture.width());
  result.heightUnits = roundUpEighths(picture.height());
  result.dots.assign(logoDotsSize(picture.width(), picture.height()), 0);
  if (picture.format() == QImage::Format_RGB32) {
    reduce<false>(picture, reduction, result);
  } else if (picture.format() == QImage::Format_ARGB32) {
    reduce<true>(picture, reduction, result);
  } else {
    reduce<true>(picture.convertToFormat(QImage::Format_ARGB32), reduction, result);
  }
  return result;
}

}  // namespace ombrel

// The logo converter beside QImage's own: a 2048 × 1000 24-bit BMP (a
// photograph-like picture: gradients and noise) from its file bytes to the
// logo image, and QImage's load and conversion to one bit per pixel
// (Format_Mono), in alternating rounds of the same run, medians compared.
// Both are timed with the threshold and with dithering (QImage's default
// conversion to Format_Mono dithers; ThresholdDither is its threshold).

#include <QBuffer>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include "imaging/logo_image.h"

namespace {

using namespace ombrel;
using SteadyClock = std::chrono::steady_clock;

constexpr int kWidth = 2048;
constexpr int kHeight = 1000;
constexpr int kRounds = 9;

Bytes photographBmp() {
  QImage picture(kWidth, kHeight, QImage::Format_RGB888);
  std::mt19937 noise(7);
  std::uniform_int_distribution<int> grain(-40, 40);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const auto level = [&](int base) { return std::clamp(base + grain(noise), 0, 255); };
      picture.setPixel(x, y, qRgb(level(x * 255 / kWidth), level(y * 255 / kHeight), level((x + y) % 256)));
    }
  }
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "BMP");
  return Bytes(data.begin(), data.end());
}

double seconds(const std::function<void()>& work) {
  const auto start = SteadyClock::now();
  work();
  return std::chrono::duration<double>(SteadyClock::now() - start).count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  const Bytes bmp = photographBmp();
  const QByteArray data(reinterpret_cast<const char*>(bmp.data()), static_cast<qsizetype>(bmp.size()));
  std::printf("2048 x 1000 24-bit BMP (%zu bytes) to one bit per pixel, median of %d alternating rounds:\n", bmp.size(),
              kRounds);
  struct Method {
    const char* name;
    LogoReduction reduction;
    Qt::ImageConversionFlags qtFlags;
  };
  for (const Method& method : {Method{"threshold", {false, kDefaultLogoThreshold}, Qt::ThresholdDither},
                               Method{"dithering", {true, kDefaultLogoThreshold}, Qt::DiffuseDither}}) {
    std::vector<double> ours;
    std::vector<double> qt;
    std::size_t imageSize = 0;
    int monoWidth = 0;
    for (int round = 0; round < kRounds; ++round) {
      ours.push_back(seconds([&] { imageSize = logoImageOfFileBytes({bmp}, method.reduction).size(); }));
      qt.push_back(seconds([&] {
        monoWidth = QImage::fromData(data, "BMP").convertToFormat(QImage::Format_Mono, method.qtFlags).width();
      }));
    }
    if (imageSize != 4096 + 256 * 1000 || monoWidth != kWidth) {
      std::fprintf(stderr, "bench_logo_convert: unexpected result sizes\n");
      return 1;
    }
    const double ourMedian = median(ours);
    const double qtMedian = median(qt);
    std::printf("  %s:\n", method.name);
    std::printf("    QImage load + Format_Mono: %8.2f ms\n", qtMedian * 1000);
    std::printf("    logo image:                %8.2f ms\n", ourMedian * 1000);
    std::printf("    logo image / QImage:       %8.2f (aim: at most 1.20)\n", ourMedian / qtMedian);
  }
  return 0;
}

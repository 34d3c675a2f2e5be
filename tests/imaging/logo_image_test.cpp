// The logo converter from BMP file bytes to the logo image: directory
// entries, the dot layout with its white padding, every bitmap kind the
// reader takes, and the reduction to black and white.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "imaging/logo_image.h"
#include "platform/errors.h"

namespace ombrel {
namespace {

Bytes bmpOf(const QImage& picture) {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(picture.save(&buffer, "BMP"));
  return Bytes(data.begin(), data.end());
}

QImage filled(int width, int height, QRgb colour) {
  QImage picture(width, height, QImage::Format_RGB32);
  picture.fill(colour);
  return picture;
}

void putLittle(Bytes& out, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A BMP written by hand: the file head, a 40-byte info head (a negative
// height is stored top-down), the palette and the pixel data as given.
Bytes handBmp(int width, int height, int bitCount, int compression, const std::vector<QRgb>& palette,
              const Bytes& pixels) {
  const auto offset = static_cast<std::uint32_t>(14 + 40 + 4 * palette.size());
  Bytes file{'B', 'M'};
  putLittle(file, offset + static_cast<std::uint32_t>(pixels.size()), 4);
  putLittle(file, 0, 4);
  putLittle(file, offset, 4);
  putLittle(file, 40, 4);
  putLittle(file, static_cast<std::uint32_t>(width), 4);
  putLittle(file, static_cast<std::uint32_t>(height), 4);
  putLittle(file, 1, 2);
  putLittle(file, static_cast<std::uint32_t>(bitCount), 2);
  putLittle(file, static_cast<std::uint32_t>(compression), 4);
  putLittle(file, static_cast<std::uint32_t>(pixels.size()), 4);
  putLittle(file, 2835, 4);
  putLittle(file, 2835, 4);
  putLittle(file, static_cast<std::uint32_t>(palette.size()), 4);
  putLittle(file, 0, 4);
  for (QRgb colour : palette) {
    file.insert(file.end(), {static_cast<std::uint8_t>(qBlue(colour)), static_cast<std::uint8_t>(qGreen(colour)),
                             static_cast<std::uint8_t>(qRed(colour)), 0});
  }
  file.insert(file.end(), pixels.begin(), pixels.end());
  return file;
}

constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kWhite = 0xFFFFFFFF;

// 8 × 2 at 1 bit a pixel: top row dots A5, bottom row 0F, rows padded to 4 bytes.
Bytes oneBit(bool blackFirst, bool topDown) {
  const std::uint8_t top = blackFirst ? 0x5A : 0xA5;     // index bits of the black dots A5
  const std::uint8_t bottom = blackFirst ? 0xF0 : 0x0F;  // of 0F
  const Bytes rows = topDown ? Bytes{top, 0, 0, 0, bottom, 0, 0, 0} : Bytes{bottom, 0, 0, 0, top, 0, 0, 0};
  return handBmp(8, topDown ? -2 : 2, 1, 0,
                 blackFirst ? std::vector<QRgb>{kBlack, kWhite} : std::vector<QRgb>{kWhite, kBlack}, rows);
}

// 8 × 2, 8 bits a pixel, run-length encoded (bottom row first): the same
// dots as oneBit.
Bytes rle8() {
  return handBmp(8, 2, 8, 1, {kWhite, kBlack},
                 {0x04, 0x00, 0x04, 0x01, 0x00, 0x00,                                                  // 0F
                  0x01, 0x01, 0x01, 0x00, 0x01, 0x01, 0x02, 0x00, 0x01, 0x01, 0x01, 0x00, 0x01, 0x01,  // A5
                  0x00, 0x00, 0x00, 0x01});
}

// One logo of 8 × 8 dots: the image's dots after its one directory entry.
Bytes onlyLogoDots(const Bytes& image) { return Bytes(image.begin() + kLogoDirectorySize, image.end()); }

// A 256-wide ramp from black to white, 8 rows.
QImage grayRamp() {
  QImage ramp(256, 8, QImage::Format_RGB32);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 256; ++x) ramp.setPixel(x, y, qRgb(x, x, x));
  }
  return ramp;
}

int blackDots(const Bytes& dots, std::size_t from, std::size_t to, std::size_t rowBytes) {
  int count = 0;
  for (std::size_t i = 0; i < dots.size(); ++i) {
    const std::size_t column = i % rowBytes;
    if (column >= from && column < to) count += std::popcount(dots[i]);
  }
  return count;
}

TEST(LogoImage, LayoutAndReduction) {
  struct Case {
    const char* what;
    std::vector<Bytes> files;
    LogoReduction reduction;
    std::function<void(const Bytes& image)> check;
  };
  const Case cases[] = {
      {"100 × 50: W 13, H 7, 728 bytes of dots with white padding",
       {bmpOf(filled(100, 50, kBlack))},
       {},
       [](const Bytes& image) {
         ASSERT_EQ(image.size(), 4824u);
         EXPECT_EQ(toHex(Bytes(image.begin(), image.begin() + 16)), "00 00 1D 00 0D 00 07 00 00 00 00 00 00 00 00 00");
         for (std::size_t row = 0; row < 56; ++row) {
           const Bytes dots(image.begin() + static_cast<std::ptrdiff_t>(4096 + row * 13),
                            image.begin() + static_cast<std::ptrdiff_t>(4096 + row * 13 + 13));
           Bytes expected(13, 0);
           if (row < 50) {
             std::fill(expected.begin(), expected.end() - 1, 0xFF);
             expected.back() = 0xF0;  // columns 100 to 103 are padding
           }
           EXPECT_EQ(dots, expected) << "row " << row;
         }
       }},
      {"two 8 × 8: two entries, 4112 bytes",
       {bmpOf(filled(8, 8, kWhite)), bmpOf(filled(8, 8, kBlack))},
       {},
       [](const Bytes& image) {
         ASSERT_EQ(image.size(), 4112u);
         EXPECT_EQ(toHex(Bytes(image.begin(), image.begin() + 24)),
                   "00 00 1D 00 01 00 01 00 08 00 1D 00 01 00 01 00 00 00 00 00 00 00 00 00");
         EXPECT_EQ(Bytes(image.begin() + 4096, image.end()),
                   (Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
       }},
      {"2048 × 1024: 262144 bytes of dots",
       {bmpOf(filled(2048, 1024, kWhite))},
       {},
       [](const Bytes& image) { EXPECT_EQ(image.size(), 266240u); }},
      {"gray ramp, threshold 128: the darker half",
       {bmpOf(grayRamp())},
       {},
       [](const Bytes& image) {
         for (std::size_t i = 0; i < 8 * 32; ++i) EXPECT_EQ(image[4096 + i], i % 32 < 16 ? 0xFF : 0x00) << i;
       }},
      {"gray ramp, threshold 1: only black",
       {bmpOf(grayRamp())},
       {false, 1},
       [](const Bytes& image) {
         for (std::size_t i = 0; i < 8 * 32; ++i) EXPECT_EQ(image[4096 + i], i % 32 == 0 ? 0x80 : 0x00) << i;
       }},
      {"gray ramp, dithered: dots thin out from black to white",
       {bmpOf(grayRamp())},
       {true, 1},
       [](const Bytes& image) {
         const Bytes dots = onlyLogoDots(image);
         // Each quarter of the ramp, 512 dots, is as dark as its mean gray.
         const int expected[] = {448, 320, 192, 64};
         for (std::size_t q = 0; q < 4; ++q) EXPECT_NEAR(blackDots(dots, 8 * q, 8 * q + 8, 32), expected[q], 40) << q;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.check(logoImageOfFileBytes({c.files.begin(), c.files.end()}, c.reduction));
  }
}

TEST(LogoImage, EveryBitmapKindGivesTheSameDots) {
  const std::pair<const char*, Bytes> files[] = {
      {"1 bit, black first in the palette, bottom-up", oneBit(true, false)},
      {"1 bit, white first in the palette, bottom-up", oneBit(false, false)},
      {"1 bit, black first, top-down", oneBit(true, true)},
      {"8 bits, run-length encoded", rle8()},
  };
  for (const auto& [what, file] : files) {
    EXPECT_EQ(onlyLogoDots(logoImageOfFileBytes({file}, {})), (Bytes{0xA5, 0x0F, 0, 0, 0, 0, 0, 0})) << what;
  }
}

TEST(LogoImage, TransparentPixelsAreWhitePaper) {
  QImage picture(8, 1, QImage::Format_ARGB32);
  picture.fill(Qt::transparent);
  picture.setPixel(0, 0, kBlack);
  picture.setPixel(1, 0, qRgba(0, 0, 0, 128));  // half-covered: brightness 127
  EXPECT_EQ(reduceToDots(picture, {}).dots, (Bytes{0xC0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(LogoImage, RefusesWhatItCannotHold) {
  try {
    logoImageOfFileBytes({bytesOf("BM not a bitmap")}, {});
    ADD_FAILURE() << "unreadable bytes were converted";
  } catch (const ECommonError& error) {
    EXPECT_NE(std::string(error.what()), "");
  }
  LogoImage image;
  const LogoDots tiny{1, 1, Bytes(8, 0)};
  for (int i = 0; i < 512; ++i) image.append(tiny);
  // A 513th entry would lie over the first logo's dots.
  EXPECT_THROW(image.append(tiny), ECommonError);
  EXPECT_EQ(image.bytes().size(), 4096u + 512u * 8u);
}

}  // namespace
}  // namespace ombrel

#pragma once

// A picture reduced to the printer's logo dots: 8 × H rows from the top, each
// row W bytes from the left, bit 0x80 the leftmost dot of its byte, 1 black.
// Rows and columns beyond the picture (the rounding up to whole bytes across
// and whole units of 8 rows down) are white.

#include <cstddef>

#include "platform/bytes.h"

class QImage;

namespace ombrel {

// A pixel darker than this brightness (0 black to 255 white) is black. Any
// value from 1 to 255 keeps a black-and-white picture as it is.
inline constexpr int kDefaultLogoThreshold = 128;

// How a picture becomes one bit per pixel: a brightness threshold, or
// Floyd–Steinberg dithering for photographs.
struct LogoReduction {
  bool dither = false;
  int threshold = kDefaultLogoThreshold;
};

struct LogoDots {
  int widthBytes = 0;   // W: the width in pixels ÷ 8, rounded up
  int heightUnits = 0;  // H: the height in pixels ÷ 8, rounded up
  Bytes dots;           // W × H × 8 bytes
};

// The dots' size for a picture of this many pixels: W × H × 8.
std::size_t logoDotsSize(int pixelWidth, int pixelHeight);

// Transparent pixels count as white paper.
LogoDots reduceToDots(const QImage& picture, const LogoReduction& reduction);

}  // namespace ombrel

#include "imaging/logo_preview.h"

#include <cstring>

namespace ombrel {

QImage logoPreview(const LogoDots& logo) {
  // One bit a pixel, most significant first, colour 1 black: the dots' own
  // layout, copied row by row.
  QImage preview(logo.widthBytes * 8, logo.heightUnits * 8, QImage::Format_Mono);
  preview.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
  const auto rowBytes = static_cast<std::size_t>(logo.widthBytes);
  for (int y = 0; y < preview.height(); ++y) {
    std::memcpy(preview.scanLine(y), logo.dots.data() + static_cast<std::size_t>(y) * rowBytes, rowBytes);
  }
  return preview;
}

}  // namespace ombrel

// The BMP-to-logo converter. The first byte chooses the reduction (bit 0:
// dithering; the rest: the threshold), the remaining bytes are the file. A
// file the reader refuses raises ECommonError; any other gives an image of
// one directory entry whose size and address agree with the dots behind it.

#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_check.h"
#include "imaging/logo_image.h"
#include "platform/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const ombrel::LogoReduction reduction{(data[0] & 1) != 0, data[0] >> 1};
  const std::span<const std::uint8_t> file(data + 1, size - 1);
  ombrel::Bytes image;
  try {
    image = ombrel::logoImageOfFileBytes({file}, reduction);
  } catch (const ombrel::ECommonError&) {
    return 0;
  }
  FUZZ_CHECK(image.size() > ombrel::kLogoDirectorySize);
  const auto entry = [&](std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | image[at + static_cast<std::size_t>(i)];
    return value;
  };
  FUZZ_CHECK(entry(0, 4) == ombrel::kLogoDownloadAddress + ombrel::kLogoDirectorySize);
  const std::size_t dots = std::size_t{entry(4, 2)} * entry(6, 2) * 8;
  FUZZ_CHECK(image.size() == ombrel::kLogoDirectorySize + dots);
  FUZZ_CHECK(entry(8, 4) == 0);  // one picture, one entry
  return 0;
}

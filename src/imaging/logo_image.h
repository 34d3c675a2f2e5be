#pragma once

// The logo image (the file "1.bin"): a 4096-byte directory of 512 entries of
// 8 bytes, then the dots of each logo in directory order with no gaps. Entry
// k: the printer address of logo k's dots (32 bits), its width in bytes and
// its height in units of 8 rows (16 bits each, little-endian). The image is
// downloaded to kLogoDownloadAddress, so each entry's address is exactly
// where that logo's dots land.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "imaging/logo_dots.h"
#include "platform/bytes.h"

namespace ombrel {

inline constexpr std::uint32_t kLogoDownloadAddress = 0x1CF000;
inline constexpr std::size_t kLogoDirectorySize = 4096;
inline constexpr std::size_t kLogoEntrySize = 8;
inline constexpr std::size_t kLogoImageLimit = 256 * 1024;  // the largest image the printer takes

class LogoImage {
 public:
  LogoImage();

  // Fills the next directory entry and appends the dots. Throws ECommonError
  // when the directory is full: a further entry would overwrite the first
  // logo's dots.
  void append(const LogoDots& logo);

  const Bytes& bytes() const { return bytes_; }
  std::size_t entryCount() const { return entryOffset_ / kLogoEntrySize; }

 private:
  Bytes bytes_;
  std::size_t entryOffset_ = 0;  // of the next free directory entry
  std::uint32_t nextAddress_;    // of the next logo's dots in printer memory
};

// Converts the BMP file at `path` and appends it to the image. Throws
// ECommonError naming the file when it does not exist or cannot be read.
void BuildLogoImage(const std::string& path, LogoImage& image, const LogoReduction& reduction);

// The size of the image of these BMP files, from their headers alone; none
// when a file is missing or its header cannot be read.
std::optional<std::size_t> logoImageSize(const std::vector<std::string>& paths);

// The image of these BMP files' bytes, in order. Throws ECommonError with the
// reader's text for bytes it cannot read.
Bytes logoImageOfFileBytes(const std::vector<std::span<const std::uint8_t>>& files, const LogoReduction& reduction);

}  // namespace ombrel

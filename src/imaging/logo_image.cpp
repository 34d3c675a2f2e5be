#include "imaging/logo_image.h"

#include <QImage>
#include <QSize>

#include "imaging/logo_picture.h"
#include "platform/errors.h"

namespace ombrel {

namespace {

void putLittleEndian(std::uint8_t* at, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

LogoImage::LogoImage() : bytes_(kLogoDirectorySize, 0), nextAddress_(kLogoDownloadAddress + kLogoDirectorySize) {}

void LogoImage::append(const LogoDots& logo) {
  if (entryOffset_ + kLogoEntrySize > kLogoDirectorySize) {
    throw ECommonError("The logo directory holds at most " + std::to_string(kLogoDirectorySize / kLogoEntrySize) +
                       " logos");
  }
  // The entry holds each size in 16 bits; a larger one would wrap and the
  // printer would read the dots with the wrong shape.
  constexpr int kLargestEntrySize = 0xFFFF;
  if (logo.widthBytes > kLargestEntrySize || logo.heightUnits > kLargestEntrySize) {
    throw ECommonError("A logo is at most " + std::to_string(kLargestEntrySize * 8) + " dots wide and high");
  }
  std::uint8_t* entry = bytes_.data() + entryOffset_;
  putLittleEndian(entry, nextAddress_, 4);
  putLittleEndian(entry + 4, static_cast<std::uint16_t>(logo.widthBytes), 2);
  putLittleEndian(entry + 6, static_cast<std::uint16_t>(logo.heightUnits), 2);
  entryOffset_ += kLogoEntrySize;
  nextAddress_ += static_cast<std::uint32_t>(logo.dots.size());
  bytes_.insert(bytes_.end(), logo.dots.begin(), logo.dots.end());
}

void BuildLogoImage(const std::string& path, LogoImage& image, const LogoReduction& reduction) {
  image.append(reduceToDots(readLogoPictureFile(path), reduction));
}

std::optional<std::size_t> logoImageSize(const std::vector<std::string>& paths) {
  std::size_t size = kLogoDirectorySize;
  for (const std::string& path : paths) {
    const QSize picture = logoPictureSize(path);
    if (!picture.isValid()) return std::nullopt;
    size += logoDotsSize(picture.width(), picture.height());
  }
  return size;
}

Bytes logoImageOfFileBytes(const std::vector<std::span<const std::uint8_t>>& files, const LogoReduction& reduction) {
  LogoImage image;
  for (const auto file : files) image.append(reduceToDots(readLogoPicture(file), reduction));
  return image.bytes();
}

}  // namespace ombrel

#pragma once

// Reading a logo picture with QImage's bitmap reader: 1-, 4-, 8-, 24- and
// 32-bit BMPs, run-length encoded or not, stored bottom-up or top-down.

#include <QImage>
#include <QSize>
#include <cstdint>
#include <span>
#include <string>

namespace ombrel {

// The picture in a BMP file's bytes. Throws ECommonError with the reader's
// error text when it cannot be read.
QImage readLogoPicture(std::span<const std::uint8_t> fileBytes);

// The picture in the file at `path`. Throws ECommonError naming the file:
// "文件不存在: PATH" when there is no such file, "PATH: " and the reader's
// error text when it cannot be read.
QImage readLogoPictureFile(const std::string& path);

// The picture's size from the file's header, without reading its pixels;
// an invalid size when the header cannot be read.
QSize logoPictureSize(const std::string& path);

}  // namespace ombrel

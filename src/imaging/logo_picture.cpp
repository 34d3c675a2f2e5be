#include "imaging/logo_picture.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "platform/errors.h"
#include "texts/message_texts.h"

namespace ombrel {

namespace {

// Only the bitmap reader: a file with another picture format inside is not
// taken for a logo.
constexpr const char* kBitmapFormat = "bmp";

QImage readWith(QImageReader& reader, const std::string& source) {
  reader.setDecideFormatFromContent(false);
  QImage picture = reader.read();
  if (picture.isNull()) {
    throw ECommonError((source.empty() ? "" : source + ": ") + reader.errorString().toStdString());
  }
  return picture;
}

}  // namespace

QImage readLogoPicture(std::span<const std::uint8_t> fileBytes) {
  // Read in place: the bytes outlive the reader.
  QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(fileBytes.data()),
                                            static_cast<qsizetype>(fileBytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, kBitmapFormat);
  return readWith(reader, {});
}

QImage readLogoPictureFile(const std::string& path) {
  const QString name = QFile::decodeName(QByteArray::fromStdString(path));
  if (!QFileInfo(name).isFile())
    throw ECommonError(messageTexts().text("sMsg24") + ": " + path, FailureKind::FileMissing);
  QImageReader reader(name, kBitmapFormat);
  return readWith(reader, path);
}

QSize logoPictureSize(const std::string& path) {
  QImageReader reader(QFile::decodeName(QByteArray::fromStdString(path)), kBitmapFormat);
  reader.setDecideFormatFromContent(false);
  return reader.size();
}

}  // namespace ombrel

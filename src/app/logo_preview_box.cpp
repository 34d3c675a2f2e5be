#include "app/logo_preview_box.h"

#include <QPixmap>
#include <QScrollArea>
#include <QVBoxLayout>

#include "commands/logo_transfer.h"
#include "imaging/logo_image.h"
#include "imaging/logo_picture.h"
#include "imaging/logo_preview.h"
#include "platform/errors.h"

namespace ombrel::app {

namespace {

const QString kObjectName = QStringLiteral("LogoPreview");

QString imageSizeText(const std::vector<std::string>& paths) {
  const auto total = logoImageSize(paths);
  const QString limit = QString::number(kLogoImageLimit);
  if (!total) return QStringLiteral("1.bin: ? / %1 B").arg(limit);
  QString text = QStringLiteral("1.bin: %1 / %2 B").arg(*total).arg(limit);
  if (*total > kLogoImageLimit) text += QStringLiteral(" — ") + QString::fromStdString(logoImageTooLargeText());
  return text;
}

}  // namespace

LogoPreviewBox::LogoPreviewBox(QWidget* parent) : QWidget(parent), picture_(new QLabel), sizes_(new QLabel(this)) {
  setObjectName(kObjectName);
  picture_->setAlignment(Qt::AlignCenter);
  picture_->setWordWrap(true);
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(picture_);
  scroll->setWidgetResizable(true);
  scroll->setAlignment(Qt::AlignCenter);
  // Grey behind the dots, so the white padding of a logo is seen.
  scroll->setBackgroundRole(QPalette::Mid);
  picture_->setBackgroundRole(QPalette::Mid);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(scroll, 1);
  column->addWidget(sizes_);
}

LogoPreviewBox* LogoPreviewBox::in(const QWidget& window) {
  return dynamic_cast<LogoPreviewBox*>(window.findChild<QWidget*>(kObjectName));
}

void LogoPreviewBox::showLogos(const std::vector<std::string>& paths, int selected, const LogoReduction& reduction) {
  dots_ = QImage();
  picture_->clear();
  QString logoSize;
  if (selected >= 0 && selected < static_cast<int>(paths.size())) {
    try {
      const LogoDots logo = reduceToDots(readLogoPictureFile(paths[static_cast<std::size_t>(selected)]), reduction);
      dots_ = logoPreview(logo);
      picture_->setPixmap(QPixmap::fromImage(dots_));
      logoSize = QStringLiteral("%1 B, ").arg(logo.dots.size());
    } catch (const ECommonError& error) {
      picture_->setText(QString::fromStdString(error.what()));
    }
  }
  sizes_->setText(paths.empty() ? QString() : logoSize + imageSizeText(paths));
}

}  // namespace ombrel::app

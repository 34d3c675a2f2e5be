#include "app/logo_preview_box.h"

#include <QEvent>
#include <QPixmap>
#include <QVBoxLayout>

#include "commands/logo_transfer.h"
#include "imaging/logo_image.h"
#include "imaging/logo_picture.h"
#include "imaging/logo_preview.h"
#include "platform/errors.h"

namespace ombrel::app {

namespace {

const QString kObjectName = QStringLiteral("LogoPreview");
// The picture's room is never smaller than this, however the window is sized.
constexpr int kLeastRoom = 64;

QString imageSizeText(const std::vector<std::string>& paths) {
  const auto total = logoImageSize(paths);
  const QString limit = QString::number(kLogoImageLimit);
  if (!total) return QStringLiteral("1.bin: ? / %1 B").arg(limit);
  QString text = QStringLiteral("1.bin: %1 / %2 B").arg(*total).arg(limit);
  if (*total > kLogoImageLimit) text += QStringLiteral(" — ") + QString::fromStdString(logoImageTooLargeText());
  return text;
}

// A label that takes the room the layout gives it: neither a picture nor a
// wrapped text may make the window taller or wider.
class RoomLabel final : public QLabel {
 public:
  using QLabel::QLabel;
  bool hasHeightForWidth() const override { return false; }
  QSize sizeHint() const override { return minimumSize(); }
  QSize minimumSizeHint() const override { return minimumSize(); }
};

}  // namespace

LogoPreviewBox::LogoPreviewBox(QWidget* parent)
    : QWidget(parent), picture_(new RoomLabel(this)), sizes_(new RoomLabel(this)) {
  setObjectName(kObjectName);
  picture_->setAlignment(Qt::AlignCenter);
  picture_->setWordWrap(true);
  picture_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  // The layout gives the picture its room; what it shows never asks for more.
  picture_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  picture_->setMinimumSize(kLeastRoom, kLeastRoom);
  // Grey behind the dots, so the white padding of a logo is seen.
  picture_->setBackgroundRole(QPalette::Mid);
  picture_->setAutoFillBackground(true);
  picture_->installEventFilter(this);
  // A long size text (the image too large) wraps onto a second line kept for
  // it, instead of widening the window or pushing the tab's bottom down.
  sizes_->setWordWrap(true);
  sizes_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  sizes_->setFixedHeight(2 * sizes_->fontMetrics().lineSpacing());
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(picture_, 1);
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
      logoSize = QStringLiteral("%1 B, ").arg(logo.dots.size());
    } catch (const ECommonError& error) {
      picture_->setText(QString::fromStdString(error.what()));
    }
  }
  sizes_->setText(paths.empty() ? QString() : logoSize + imageSizeText(paths));
  redraw();
}

bool LogoPreviewBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == picture_ && event->type() == QEvent::Resize) redraw();
  return QWidget::eventFilter(watched, event);
}

void LogoPreviewBox::redraw() {
  if (dots_.isNull()) return;
  const QSize room = picture_->contentsRect().size();
  if (room.isEmpty()) return;
  if (dots_.width() <= room.width() && dots_.height() <= room.height()) {
    picture_->setPixmap(QPixmap::fromImage(dots_));
    return;
  }
  // Smooth: where many dots share a pixel, its grey tells how many are black.
  picture_->setPixmap(QPixmap::fromImage(dots_.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

}  // namespace ombrel::app

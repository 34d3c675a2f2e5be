#include "app/logo_zoom_window.h"

#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace ombrel::app {

namespace {
constexpr double kScreenShare = 0.75;
constexpr int kLargestScale = 16;
}  // namespace

LogoZoomWindow::LogoZoomWindow(QWidget* parent) : QDialog(parent), picture_(new QLabel(this)) {
  setObjectName(QStringLiteral("LogoZoom"));
  setWindowTitle(QStringLiteral("NV-LOGO"));
  picture_->setAlignment(Qt::AlignCenter);
  // Grey behind the dots, as in the preview, so the white padding is seen.
  picture_->setBackgroundRole(QPalette::Mid);
  picture_->setAutoFillBackground(true);
  picture_->setMinimumSize(1, 1);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(picture_);
}

void LogoZoomWindow::showDots(const QImage& dots) {
  dots_ = dots;
  if (!sized_ && !dots_.isNull()) {
    sized_ = true;
    const QSize room = screen() != nullptr ? screen()->availableGeometry().size() * kScreenShare : QSize(800, 600);
    const int fit = std::min(room.width() / dots_.width(), room.height() / dots_.height());
    const int first = std::clamp(fit, 1, kLargestScale);
    resize(dots_.size() * first);
  }
  redraw();
}

void LogoZoomWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  redraw();
}

void LogoZoomWindow::redraw() {
  if (dots_.isNull()) {
    picture_->clear();
    return;
  }
  const QSize room = picture_->contentsRect().size();
  scale_ = std::max(1, std::min(room.width() / dots_.width(), room.height() / dots_.height()));
  // Nearest neighbour: each dot stays a sharp square.
  picture_->setPixmap(
      QPixmap::fromImage(dots_.scaled(dots_.size() * scale_, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
  setWindowTitle(QStringLiteral("NV-LOGO %1×%2 ×%3").arg(dots_.width()).arg(dots_.height()).arg(scale_));
}

}  // namespace ombrel::app

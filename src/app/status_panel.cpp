#include "app/status_panel.h"

#include <QRegularExpression>
#include <utility>

namespace ombrel::app {

namespace {

QString oneLine(const QString& text) {
  static const QRegularExpression kLineBreaks(QStringLiteral("\\r\\n|\\r|\\n"));
  return QString(text).replace(kLineBreaks, QStringLiteral(" "));
}

}  // namespace

QLabel* makeStatusPanel(QStatusBar* bar, int width, bool fixed) {
  auto* panel = new QLabel(bar);
  if (fixed) {
    panel->setFixedWidth(width);
  } else {
    panel->setMinimumWidth(width);
    panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  }
  panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  return panel;
}

void showStatus(QLabel* panel, const QString& text) {
  const QString line = oneLine(text);
  panel->setText(line);
  const bool fits = panel->fontMetrics().horizontalAdvance(line) <= panel->contentsRect().width();
  panel->setToolTip(fits ? QString() : text);
}

void showElided(QLabel* panel, const QString& text) {
  panel->setText(panel->fontMetrics().elidedText(oneLine(text), Qt::ElideRight, panel->contentsRect().width()));
  panel->setToolTip(text);
}

void clearStatus(QLabel* panel) {
  panel->clear();
  panel->setToolTip(QString());
}

NoticePanel::NoticePanel(QLabel* panel, std::chrono::milliseconds noticeTime) : panel_(panel) {
  noticeTimer_.setSingleShot(true);
  // A coarse timer may fire 5% early: the notice stands its whole time.
  noticeTimer_.setTimerType(Qt::PreciseTimer);
  noticeTimer_.setInterval(noticeTime);
  QObject::connect(&noticeTimer_, &QTimer::timeout, [this] { endNotice(); });
}

void NoticePanel::show(const QString& text) {
  if (noticeTimer_.isActive()) {
    held_ = text;
  } else {
    showStatus(panel_, text);
  }
}

void NoticePanel::showNow(const QString& text) {
  noticeTimer_.stop();
  held_.reset();
  showStatus(panel_, text);
}

void NoticePanel::clearNow() {
  noticeTimer_.stop();
  held_.reset();
  clearStatus(panel_);
}

void NoticePanel::showNotice(const QString& text) {
  // The text the notice covers comes back after it, unless a newer one came.
  if (!noticeTimer_.isActive()) held_ = panel_->text();
  showStatus(panel_, text);
  noticeTimer_.start();
}

QString NoticePanel::text() const { return held_.value_or(panel_->text()); }

void NoticePanel::endNotice() {
  if (held_) showStatus(panel_, *std::exchange(held_, std::nullopt));
}

}  // namespace ombrel::app

#include "app/slot_tile.h"

#include <QVBoxLayout>

namespace ombrel::app {

namespace {
constexpr int kTileWidth = 220;
constexpr int kMarkPointSize = 22;
constexpr int kProgressMaximum = 1000;
const char* const kPassStyle = "background: #2e9d3a; color: white;";
const char* const kFailStyle = "background: #c62828; color: white;";
}  // namespace

SlotTile::SlotTile(QWidget* parent, const QString& port, std::function<void()> retry)
    : QFrame(parent),
      port_(new QLabel(this)),
      identity_(new QLabel(this)),
      serial_(new QLabel(this)),
      action_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      mark_(new QLabel(this)),
      seconds_(new QLabel(this)),
      retry_(new QPushButton(this)) {
  setFrameShape(QFrame::StyledPanel);
  setFixedWidth(kTileWidth);
  QFont bold = font();
  bold.setBold(true);
  port_->setFont(bold);
  action_->setWordWrap(true);
  progress_->setRange(0, kProgressMaximum);
  progress_->hide();
  QFont markFont = font();
  markFont.setPointSize(kMarkPointSize);
  markFont.setBold(true);
  mark_->setFont(markFont);
  mark_->setAlignment(Qt::AlignCenter);
  mark_->hide();
  retry_->hide();
  connect(retry_, &QPushButton::clicked, this, [retry = std::move(retry)] { retry(); });
  auto* column = new QVBoxLayout(this);
  for (QWidget* part :
       std::initializer_list<QWidget*>{port_, identity_, serial_, action_, progress_, mark_, seconds_, retry_}) {
    column->addWidget(part);
  }
  setPort(port);
}

void SlotTile::setPort(const QString& port) {
  port_->setText(port);
  port_->setToolTip(port);
}

void SlotTile::showWaiting(const QString& text) {
  showStarted();
  action_->setText(text);
}

void SlotTile::showStarted() {
  identity_->clear();
  serial_->clear();
  action_->clear();
  seconds_->clear();
  progress_->hide();
  mark_->hide();
  retry_->hide();
}

void SlotTile::setIdentity(const QString& identity) { identity_->setText(identity); }

void SlotTile::setSerialNumber(const QString& serial) { serial_->setText(serial); }

void SlotTile::setAction(const QString& action) {
  action_->setText(action);
  action_->setToolTip(action);
}

void SlotTile::setProgress(int permille, bool running) {
  progress_->setValue(permille);
  progress_->setVisible(running);
}

void SlotTile::showEnd(bool passed, const QString& mark, const QString& why, double seconds,
                       const QString& retryCaption) {
  progress_->hide();
  action_->setText(why);
  action_->setToolTip(why);
  mark_->setText(mark);
  mark_->setStyleSheet(QString::fromLatin1(passed ? kPassStyle : kFailStyle));
  mark_->show();
  seconds_->setText(QString::number(seconds, 'f', 1) + QStringLiteral(" s"));
  retry_->setText(retryCaption);
  retry_->setVisible(!passed);
}

}  // namespace ombrel::app

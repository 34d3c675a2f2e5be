// The parameters window's provisioning log: every device write, written,
// failed or refused, is one line of provisioning.jsonl in the program
// directory, whose path the device group shows; the settings are saved as
// soon as a printer holds its number.

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>

#include "app/frm_line.h"
#include "app/frm_main.h"
#include "app/frm_para.h"
#include "app/widget_captions.h"

namespace ombrel::app {

namespace {
constexpr const char* kProvisioningLogFile = "provisioning.jsonl";
constexpr int kLogPathWidth = 260;  // pixels; the whole path is the label's tool tip
}  // namespace

std::string provisioningLogPath(const std::string& appDir) { return appDir + kProvisioningLogFile; }

void TFrmPara::showProvisioningLogPath() {
  auto* group = findChild<QGroupBox*>(QStringLiteral("grpDevice"));
  auto* where = new QLabel(group);
  where->setObjectName(QStringLiteral("lbl_ProvisioningLog"));
  const QString path = QString::fromStdString(provisioningLog_.path());
  where->setText(where->fontMetrics().elidedText(path, Qt::ElideMiddle, kLogPathWidth));
  where->setToolTip(path);
  auto* grid = qobject_cast<QGridLayout*>(group->layout());
  grid->addWidget(where, grid->rowCount(), 0, 1, grid->columnCount());
}

void TFrmPara::addProductionLineButton() {
  lineWindow_ = new TFrmLine(*this, mainWindow_);
  auto* group = findChild<QGroupBox*>(QStringLiteral("grpDevice"));
  auto* open = named(new QPushButton(QStringLiteral("生产线"), group), "btn_ProductionLine", captionControls_);
  connect(open, &QPushButton::clicked, this, [this] { lineWindow_->open(); });
  auto* grid = qobject_cast<QGridLayout*>(group->layout());
  grid->addWidget(open, grid->rowCount(), 0, 1, grid->columnCount(), Qt::AlignRight);
}

void TFrmPara::keepDeviceWrite(const DeviceWrite& write) {
  if (!write.stepProblem().empty()) mainWindow_.messageBoxes().error(write.stepProblem());
  for (const std::string& text : ombrel::keepDeviceWrite(
           write.record(), [this] { writeSettings(); }, &provisioningLog_)) {
    mainWindow_.messageBoxes().warning(text);
  }
}

DeviceWrite TFrmPara::deviceWrite() const {
  return DeviceWrite(controls_, linkDescription(mainWindow_.linkSettings()));
}

void TFrmPara::deviceWriteEnded(const TaskOutcome& outcome) {
  if (!runningDeviceWrite_) return;
  DeviceWrite write = *std::exchange(runningDeviceWrite_, std::nullopt);
  if (!heldNumber_) {
    write.end(outcome, controls_);
  } else {
    // The allocator steps the number, not the write.
    write.end(outcome);
    const NumberEnd end = numberEndOf(outcome);
    // A number that may have reached the printer is never handed out again.
    if (end == NumberEnd::Unknown) write.abandon(outcome.text);
    endSerialNumber(end);
  }
  keepDeviceWrite(write);
}

bool TFrmPara::holdSerialNumber() {
  numbers_ = lineWindow_->serialNumbers();
  if (!numbers_) return true;
  try {
    heldNumber_ = numbers_->take();
  } catch (const std::runtime_error& error) {
    mainWindow_.messageBoxes().warning(error.what());
  }
  if (!heldNumber_) {
    if (const auto refused = serialNumberRefusal(controls_, language())) mainWindow_.messageBoxes().warning(*refused);
    numbers_.reset();
    return false;
  }
  controls_.setText("edt_DeviceSerialNo", std::to_string(*heldNumber_));
  return true;
}

void TFrmPara::endSerialNumber(NumberEnd end) {
  if (!numbers_ || !heldNumber_) return;
  numbers_->end(*std::exchange(heldNumber_, std::nullopt), end);
  // The field shows the next number, never the one stepped from the write's.
  showNextSerialNumber(numbers_->nextText(), true);
  numbers_.reset();
}

void TFrmPara::showNextSerialNumber(const std::string& next, bool save) {
  controls_.setText("edt_DeviceSerialNo", next);
  if (save) saveSettings();
}

}  // namespace ombrel::app

// The parameters window's provisioning log: every device write, written,
// failed or refused, is one line of provisioning.jsonl in the program
// directory, whose path the device group shows. A written device's stepped
// serial number is saved at once.

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

void TFrmPara::keepDeviceWrite(const DeviceWriteRecord& record) {
  logDeviceWrite(record);
  if (record.outcome == DeviceWriteRecord::Outcome::Written) saveSettings();
}

DeviceWriteRecord TFrmPara::deviceWriteRecord() const {
  DeviceWriteRecord record;
  record.time = localTimestamp();
  record.link = linkDescription(mainWindow_.linkSettings());
  record.deviceName = controls_.text("edt_DeviceName");
  record.serialNumber = controls_.text("edt_DeviceSerialNo");
  return record;
}

void TFrmPara::logDeviceWrite(const DeviceWriteRecord& record) {
  try {
    provisioningLog_.append(record);
  } catch (const std::exception& error) {
    mainWindow_.messageBoxes().warning(error.what());
  }
}

void TFrmPara::deviceWriteEnded(bool succeeded, const std::string& errorText) {
  if (!runningDeviceWrite_) return;
  DeviceWriteRecord record = std::move(*runningDeviceWrite_);
  runningDeviceWrite_.reset();
  record.printerIdentity = mainWindow_.engine().printerIdentity();
  record.outcome = succeeded ? DeviceWriteRecord::Outcome::Written : DeviceWriteRecord::Outcome::Failed;
  record.errorText = errorText;
  logDeviceWrite(record);
  // The serial number has stepped: kept at once, not only when the window
  // closes, so that a crash never gives the next printer the same number.
  if (succeeded) saveSettings();
}

}  // namespace ombrel::app

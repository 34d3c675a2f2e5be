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
#include "commands/line_server_settings.h"

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
  RowSender* const sender = rowSender();
  for (const std::string& text : ombrel::keepDeviceWrite(
           write.record(), [this] { writeSettings(); }, &provisioningLog_)) {
    mainWindow_.messageBoxes().warning(text);
  }
  if (sender != nullptr) sender->sendSoon();
}

DeviceWrite TFrmPara::deviceWrite(bool rework) const {
  return DeviceWrite::alone(controls_, linkDescription(mainWindow_.linkSettings()), rework);
}

void TFrmPara::deviceWriteEnded(const TaskOutcome& outcome) {
  if (!runningDeviceWrite_) return;
  DeviceWrite write = *std::exchange(runningDeviceWrite_, std::nullopt);
  if (write.record().rework) {
    // The printer gets its old number back: the next one stays as it is.
    write.end(outcome);
  } else if (!heldNumber_) {
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
  if (!numbers_) numbers_ = lineServerNumbers();
  if (!numbers_) return !lineServerRefused_;
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

std::shared_ptr<SerialAllocator> TFrmPara::lineServerNumbers() {
  lineServerRefused_ = false;
  const LineServerSettings line = loadLineServerSettings(IniFile(mainWindow_.appDir() + "sysconfig.ini"));
  if (line.database.empty()) return nullptr;
  // With the line's server, this one write takes the line's next number too;
  // the allocator (and its hold on the program directory) goes once it ended.
  lineServerRefused_ = true;
  if (const auto refusal = lineDatabaseRefusal(line.database, language())) {
    mainWindow_.messageBoxes().warning(*refusal);
    return nullptr;
  }
  try {
    auto numbers = std::make_shared<SerialAllocator>(mainWindow_.appDir(), controls_, language(), *lineServerOf(line));
    lineServerRefused_ = false;
    return numbers;
  } catch (const LineDatabaseUnreachable& lost) {
    mainWindow_.messageBoxes().warning(std::string(lost.what()) + ": " + lost.detail());
  } catch (const std::runtime_error& error) {
    mainWindow_.messageBoxes().warning(error.what());
  }
  return nullptr;
}

bool TFrmPara::reworkRecorded() {
  const LineServerSettings line = loadLineServerSettings(IniFile(mainWindow_.appDir() + "sysconfig.ini"));
  auto refusal = lineDatabaseRefusal(line.database, language());
  if (!refusal) refusal = reworkRefusal(lineServerOf(line), controls_.text("edt_DeviceSerialNo"), language());
  if (refusal) mainWindow_.messageBoxes().warning(*refusal);
  return !refusal;
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

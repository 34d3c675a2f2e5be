// The production line window's station: the arrivals it waits for, the
// recipe run on each printer through the engine, one action after another,
// and what each printer's end leaves in the provisioning log.

#include <QTimer>
#include <algorithm>

#include "app/app_texts.h"
#include "app/frm_line.h"
#include "app/frm_main.h"
#include "app/frm_para.h"
#include "commands/printer_rows.h"
#include "platform/errors.h"

namespace ombrel::app {

void TFrmLine::btn_LineStartClick() {
  if (!keepRecipe()) {
    state_->setText(QString::fromStdString(emptyRecipeText(language())));
    return;
  }
  // The printers present now are left alone: only those plugged in from now on are set up.
  arrivals_ = UsbArrivals(mainWindow_.engine().usbPrinters());
  waiting_ = true;
  state_->setText(QString::fromStdString(waitingForPrintersText(language())));
  updateButtons();
}

void TFrmLine::btn_LineStopClick() {
  waiting_ = false;
  arrived_.clear();
  if (run_) run_->stop();
  state_->clear();
  updateButtons();
}

void TFrmLine::btn_LineNextClick() {
  if (!keepRecipe()) {
    state_->setText(QString::fromStdString(emptyRecipeText(language())));
    return;
  }
  if (!mainWindow_.ReadLinkSettings()) return;
  beginPrinter(mainWindow_.usbLinkChosen() ? mainWindow_.ui().cbb_UsbDeviceList->currentText().toStdString()
                                           : std::string());
}

void TFrmLine::usbPrintersChanged(const std::vector<std::string>& printers) {
  if (!waiting_) return;
  for (const UsbArrivals::Arrival& arrival : arrivals_.take(printers)) {
    if (!arrival.indistinct) {
      arrived_.push_back(arrival.identity);
      continue;
    }
    const PrinterRow refused = refusedPrinterRow("usb:" + arrival.identity, indistinctPrinterText(arrival.identity));
    showRow(addRow(), refused);
    printerEnded(refused);
  }
  settled_.start();
}

void TFrmLine::setUpNextArrival() {
  while (waiting_ && !run_ && !settled_.isActive() && !arrived_.empty()) {
    const std::string identity = arrived_.front();
    arrived_.pop_front();
    // One that has left again before its turn is passed over.
    if (mainWindow_.useUsbPrinter(identity)) beginPrinter(identity);
  }
}

void TFrmLine::beginPrinter(const std::string& usbIdentity) {
  LinkSettings link;
  try {
    link = mainWindow_.linkSettings();
  } catch (const ECommonError& error) {
    // No link chosen that a printer can answer on: the engine would refuse it too.
    state_->setText(QString::fromUtf8(error.what()));
    return;
  }
  runningUsb_ = usbIdentity;
  run_ = std::make_unique<RecipeRun>(recipe_, para_.paraControls(), linkDescription(link), mainWindow_.appDir());
  runningRow_ = addRow();
  showRow(runningRow_, run_->row());
  state_->setText(QString::fromStdString(settingUpText(language(), run_->row().link)));
  updateButtons();
  runNextAction();
}

void TFrmLine::runNextAction() {
  std::optional<TaskStart> task = run_->next();
  if (const auto record = run_->takeDeviceWrite()) para_.keepDeviceWrite(*record);
  if (task && !mainWindow_.engine().StartTask(task->code, task->a, task->b, std::move(task->payload),
                                              std::move(task->transfer))) {
    run_->ended(false, taskRunningText(language()), {});
    task.reset();
  }
  showRow(runningRow_, run_->row());
  if (!task) finishPrinter();
}

void TFrmLine::finishPrinter() {
  const PrinterRow row = run_->row();
  run_.reset();
  printerEnded(row);
  updateButtons();
  setUpNextArrival();
}

void TFrmLine::taskEnded(bool succeeded, const std::string& errorText) {
  if (!run_) return;
  // A failure of a printer that is no longer listed is its removal.
  bool present = true;
  if (!succeeded && !runningUsb_.empty()) {
    const auto printers = mainWindow_.engine().usbPrinters();
    present = std::find(printers.begin(), printers.end(), runningUsb_) != printers.end();
  }
  run_->ended(succeeded, errorText, mainWindow_.engine().printerIdentity(), present);
  if (const auto record = run_->takeDeviceWrite()) para_.keepDeviceWrite(*record);
  showRow(runningRow_, run_->row());
  if (run_->row().end != PrinterRow::End::Running) {
    finishPrinter();
    return;
  }
  // The next task starts once the engine has finished telling of this one.
  QTimer::singleShot(0, this, [this] {
    if (run_) runNextAction();
  });
}

void TFrmLine::printerEnded(const PrinterRow& row) {
  try {
    appendPrinterRow(ProvisioningLog(provisioningLogPath(mainWindow_.appDir())), row);
  } catch (const std::exception& error) {
    mainWindow_.messageBoxes().warning(error.what());
  }
  showOutcome(row);
  state_->setText(row.passed() ? QString() : QString::fromStdString(endText(row)));
}

}  // namespace ombrel::app

// The production line window's station: the arrivals it waits for, the
// recipe run on each printer through the engine, one action after another,
// and what each printer's end leaves in the provisioning log.

#include <QTimer>

#include "app/app_texts.h"
#include "app/frm_line.h"
#include "app/frm_main.h"
#include "app/frm_para.h"
#include "commands/printer_rows.h"
#include "commands/recipe_texts.h"
#include "platform/errors.h"

namespace ombrel::app {

void TFrmLine::btn_LineStartClick() {
  if (!keepRecipe()) {
    showState(QString::fromStdString(emptyRecipeText(language())));
    return;
  }
  // A recipe that would refuse every printer does not wait for one.
  if (const auto refused = checkRecipe(recipe_, para_.paraControls(), mainWindow_.appDir())) {
    showState(actionCaption(refused->action) + QStringLiteral(": ") +
              QString::fromStdString(recipeRefusalText(refused->refusal, language())));
    return;
  }
  // The printers present now are left alone: only those plugged in from now on are set up.
  arrivals_ = ArrivalQueue(identitiesOf(mainWindow_.engine().usbPrinters()));
  waiting_ = true;
  showState(QString::fromStdString(waitingForPrintersText(language())));
  updateButtons();
}

void TFrmLine::btn_LineStopClick() {
  waiting_ = false;
  arrivals_.clear();
  if (run_) run_->stop();
  showState(QString());
  updateButtons();
}

void TFrmLine::btn_LineNextClick() {
  if (!keepRecipe()) {
    showState(QString::fromStdString(emptyRecipeText(language())));
    return;
  }
  if (!mainWindow_.ReadLinkSettings()) return;
  beginPrinter(mainWindow_.usbLinkChosen() ? mainWindow_.ui().cbb_UsbDeviceList->currentText().toStdString()
                                           : std::string());
}

void TFrmLine::usbPrintersChanged(const std::vector<std::string>& printers) {
  if (!waiting_) return;
  arrivals_.report(printers);
  settled_.start();
}

void TFrmLine::setUpNextArrival() {
  arrivals_.serve([this] { return waiting_ && !run_ && !settled_.isActive(); },
                  {[this](const std::string& identity) {
                     // One that has left again before its turn is passed over.
                     if (mainWindow_.useUsbPrinter(identity)) beginPrinter(identity);
                   },
                   [this](const std::string& identity, const std::string& text) {
                     const PrinterRow refused = refusedPrinterRow("usb:" + identity, text);
                     showRow(addRow(), refused);
                     printerEnded(refused);
                   }},
                  language());
}

void TFrmLine::beginPrinter(const std::string& usbIdentity) {
  LinkSettings link;
  try {
    link = mainWindow_.linkSettings();
  } catch (const ECommonError& error) {
    // No link chosen that a printer can answer on: the engine would refuse it too.
    showState(QString::fromUtf8(error.what()));
    return;
  }
  runningUsb_ = usbIdentity;
  run_ = std::make_unique<RecipeRun>(recipe_, para_.paraControls(), linkDescription(link), mainWindow_.appDir(),
                                     language());
  runningRow_ = addRow();
  showRow(runningRow_, run_->row());
  showState(QString::fromStdString(settingUpText(language(), run_->row().link)));
  updateButtons();
  runNextAction();
}

void TFrmLine::runNextAction() {
  std::optional<TaskStart> task = run_->next();
  if (const auto write = run_->takeDeviceWrite()) para_.keepDeviceWrite(*write);
  if (task && !mainWindow_.engine().StartTask(task->code, task->a, task->b, std::move(task->payload),
                                              std::move(task->transfer))) {
    run_->ended({task->code, kTaskFailedWithText, FailureKind::Other, taskRunningText(language()), {}});
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

void TFrmLine::taskEnded(const TaskOutcome& outcome) {
  if (!run_) return;
  const bool present = outcome.result == kTaskOk || stationPrinterPresent(mainWindow_.engine(), runningUsb_);
  run_->ended(outcome, present);
  if (const auto write = run_->takeDeviceWrite()) para_.keepDeviceWrite(*write);
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
  showState(row.passed() ? QString() : QString::fromStdString(endText(row)));
}

}  // namespace ombrel::app

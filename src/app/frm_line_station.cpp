// The production line window's station: the USB printers that arrive, each
// set up in a slot of its own by the recipe while the others run theirs, the
// serial numbers of their device writes from one allocator, the printer of
// Next printer run on the main window's engine, and what each printer's end
// leaves in the provisioning log.

#include <QTimer>

#include "app/app_texts.h"
#include "app/frm_line.h"
#include "app/frm_main.h"
#include "app/frm_para.h"
#include "commands/device_write.h"
#include "commands/printer_rows.h"
#include "commands/recipe_texts.h"
#include "platform/errors.h"

namespace ombrel::app {

namespace {

bool writesDevice(const Recipe& recipe) {
  return std::find(recipe.actions.begin(), recipe.actions.end(), kDeviceWriteControl) != recipe.actions.end();
}

}  // namespace

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
  if (!takeSerialNumbers()) return;
  // The printers present now are left alone: only those plugged in from now on are set up.
  queue_.emplace(mainWindow_.engine().usbPrinters(), slotsBox_->value());
  waiting_ = true;
  showState(QString::fromStdString(waitingForPrintersText(language())));
  updateButtons();
}

bool TFrmLine::takeSerialNumbers() {
  const auto line = keepLineServer();
  if (!line) return false;
  if (!writesDevice(recipe_)) return true;
  if (const auto refused = serialNumberRefusal(para_.paraControls(), language())) {
    showState(QString::fromStdString(*refused));
    return false;
  }
  try {
    const auto server = lineServerOf(*line);
    numbers_ = server
                   ? std::make_shared<SerialAllocator>(mainWindow_.appDir(), para_.paraControls(), language(), *server)
                   : std::make_shared<SerialAllocator>(mainWindow_.appDir(), para_.paraControls(), language());
  } catch (const StationLocked& error) {
    showState(QString::fromUtf8(error.what()));
    return false;
  } catch (const LineDatabaseUnreachable& lost) {
    // A station without its line's numbers does not start.
    showState(QString::fromUtf8(lost.what()) + QStringLiteral(": ") + QString::fromUtf8(lost.detail()).trimmed());
    return false;
  } catch (const std::runtime_error& error) {
    mainWindow_.messageBoxes().warning(error.what());
    return false;
  }
  try {
    logAbandonedNumbers(numbers_->abandoned(), ProvisioningLog(provisioningLogPath(mainWindow_.appDir())), language());
  } catch (const std::runtime_error& error) {
    mainWindow_.messageBoxes().warning(error.what());
  }
  showNextSerialNumber();
  return true;
}

void TFrmLine::btn_LineStopClick() {
  waiting_ = false;
  if (queue_) queue_->clearWaiting();
  for (auto& [port, slot] : slots_) slot->stop();
  for (auto& [port, tile] : tiles_) {
    if (slots_.count(port) == 0 && tile->mark()->isHidden()) tile->showWaiting(QString());
  }
  if (run_) run_->stop();
  showState(QString());
  dropStationWhenIdle();
  updateButtons();
}

void TFrmLine::btn_LineNextClick() {
  if (!keepRecipe()) {
    showState(QString::fromStdString(emptyRecipeText(language())));
    return;
  }
  if (!mainWindow_.ReadLinkSettings()) return;
  const auto chosen = mainWindow_.usbLinkChosen() ? mainWindow_.ui().cbb_UsbDeviceList->currentPrinter() : std::nullopt;
  beginPrinter(chosen.value_or(UsbDeviceName{}));
}

void TFrmLine::usbPrintersChanged(const std::vector<UsbDeviceName>& printers) {
  removeTilesOfLeft(printers);
  if (!queue_) return;
  const SlotQueue::Changes changes = queue_->report(printers);
  if (!waiting_) {
    queue_->clearWaiting();
    return;
  }
  for (const UsbDeviceName& printer : changes.arrived) {
    tileFor(printer.port).showWaiting(QString::fromStdString(waitingForSlotText(language())));
  }
  // A slot's link is bound to its port: it waits for its printer's node itself.
  later([this] { startWaiting(); });
}

void TFrmLine::startWaiting() {
  if (!waiting_) return;
  const auto printer = queue_->start();
  if (!printer) return;
  if (slots_.count(printer->port) != 0) {
    // The printer that left this port is still ending its run: the new one
    // starts once that slot has gone.
    queue_->finished(printer->port);
    queue_->retry(printer->port);
    return;
  }
  beginSlot(*printer);
  // One slot is made per turn of the event loop, so that eight printers
  // plugged in together never hold the window up for all of them at once.
  later([this] { startWaiting(); });
}

void TFrmLine::later(std::function<void()> step) {
  slotSteps_.push_back(std::move(step));
  slotStepper_.start();
}

void TFrmLine::runSlotStep() {
  if (slotSteps_.empty()) {
    slotStepper_.stop();
    return;
  }
  const std::function<void()> step = std::move(slotSteps_.front());
  slotSteps_.pop_front();
  step();
}

void TFrmLine::beginSlot(const UsbDeviceName& printer) {
  const std::string& port = printer.port;
  SlotTile& tile = tileFor(port);
  LineSlot::Events events{
      [this](LineSlot& slot) { slotMoved(slot); }, [this](const DeviceWrite& write) { para_.keepDeviceWrite(write); },
      [this](LineSlot& slot) { slotEnded(slot); }, [this](std::function<void()> step) { later(std::move(step)); }};
  try {
    slots_[port] = std::make_shared<LineSlot>(
        LineSlot::Station{mainWindow_.owner(), mainWindow_.clock(), mainWindow_.appDir(), language()}, printer, tile,
        std::move(events));
  } catch (const std::exception& error) {
    // No engine for this printer: it ends refused, the others go on.
    const PrinterRow refused = refusedPrinterRow("usb:" + printer.identity + "@" + port, error.what());
    showRow(addRow(), refused);
    printerEnded(refused);
    tile.showEnd(false, failMark_->text(), QString::fromUtf8(error.what()), 0,
                 QString::fromStdString(retryText(language())));
    queue_->finished(port);
    return;
  }
  slotRows_[port] = addRow();
  slots_[port]->run(recipe_, para_.paraControls(), numbers_.get());
}

void TFrmLine::slotMoved(LineSlot& slot) {
  const auto row = slotRows_.find(slot.printer().port);
  if (row != slotRows_.end()) showRow(row->second, slot.row());
  showNextSerialNumber();
}

void TFrmLine::slotEnded(LineSlot& slot) {
  const std::string port = slot.printer().port;
  const PrinterRow row = slot.row();
  QString why = row.passed() ? QString() : QString::fromStdString(endText(row));
  if (!row.passed()) why += QStringLiteral("\n") + QString::fromStdString(slot.keepFailedTrace());
  printerEnded(row);
  if (SlotTile* shown = tile(port)) {
    shown->showEnd(row.passed(), row.passed() ? passMark_->text() : failMark_->text(), why, row.seconds,
                   QString::fromStdString(retryText(language())));
  }
  queue_->finished(port);
  // The engine goes once it has finished telling of this end.
  QTimer::singleShot(0, this, [this, port] { dropSlot(port); });
}

void TFrmLine::dropSlot(const std::string& port) {
  const auto found = slots_.find(port);
  if (found == slots_.end() || found->second->running()) return;
  std::shared_ptr<LineSlot> slot = std::move(found->second);
  slots_.erase(found);
  slotRows_.erase(port);
  slot->release();
  // What its engine posted before it stopped still finds the slot.
  mainWindow_.owner().post([slot] {});
  removeTilesOfLeft(mainWindow_.engine().usbPrinters());
  startWaiting();
  dropStationWhenIdle();
}

void TFrmLine::retry(const std::string& port) {
  // A click may come before the ended slot's engine has gone.
  dropSlot(port);
  if (!waiting_ || !queue_ || slots_.count(port) != 0 || !queue_->retry(port)) return;
  tileFor(port).showWaiting(QString::fromStdString(waitingForSlotText(language())));
  startWaiting();
}

void TFrmLine::dropStationWhenIdle() {
  // Next printer's run may hold a number too.
  if (waiting_ || !slots_.empty() || run_) return;
  if (numbers_) para_.showNextSerialNumber(numbers_->nextText(), true);
  queue_.reset();
  numbers_.reset();
  updateButtons();
}

void TFrmLine::showNextSerialNumber() {
  // Saved with each written number and once the station has ended: the
  // allocator's journal holds every step in between.
  if (numbers_) para_.showNextSerialNumber(numbers_->nextText(), false);
}

void TFrmLine::beginPrinter(const UsbDeviceName& usbPrinter) {
  LinkSettings link;
  try {
    link = mainWindow_.linkSettings();
  } catch (const ECommonError& error) {
    // No link chosen that a printer can answer on: the engine would refuse it too.
    showState(QString::fromUtf8(error.what()));
    return;
  }
  runningUsb_ = usbPrinter.identity;
  run_ = std::make_unique<RecipeRun>(recipe_, para_.paraControls(), linkDescription(link), mainWindow_.appDir(),
                                     language(), usbPrinter.port);
  if (numbers_) run_->useSerialNumbers(*numbers_);
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
  showNextSerialNumber();
  if (!task) finishPrinter();
}

void TFrmLine::finishPrinter() {
  const PrinterRow row = run_->row();
  run_.reset();
  printerEnded(row);
  dropStationWhenIdle();
  updateButtons();
}

void TFrmLine::taskEnded(const TaskOutcome& outcome) {
  if (!run_) return;
  run_->ended(outcome, outcome.result == kTaskOk || stationPrinterPresent(mainWindow_.engine(), runningUsb_));
  if (const auto write = run_->takeDeviceWrite()) para_.keepDeviceWrite(*write);
  showRow(runningRow_, run_->row());
  showNextSerialNumber();
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
  RowSender* const sender = para_.rowSender();
  try {
    appendPrinterRow(ProvisioningLog(provisioningLogPath(mainWindow_.appDir())), row);
  } catch (const std::exception& error) {
    mainWindow_.messageBoxes().warning(error.what());
  }
  if (sender != nullptr) sender->sendSoon();
  showOutcome(row);
  showState(row.passed() ? QString() : QString::fromStdString(endText(row)));
}

}  // namespace ombrel::app

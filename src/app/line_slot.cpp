#include "app/line_slot.h"

#include <algorithm>

#include "app/app_texts.h"
#include "settings/para_layout.h"

namespace ombrel::app {

void copyControls(const ParaControls& from, ParaControlState& to) {
  for (const ControlSpec& row : paraLayout()) {
    switch (row.kind) {
      case ControlKind::Edit:
        to.setText(row.name, from.text(row.name));
        break;
      case ControlKind::List:
        to.setItems(row.name, from.items(row.name));
        to.setIndex(row.name, from.index(row.name));
        if (from.index(row.name) < 0) to.setText(row.name, from.text(row.name));
        break;
      case ControlKind::RadioGroup:
        to.setIndex(row.name, from.index(row.name));
        break;
      case ControlKind::Radio:
      case ControlKind::Check:
        to.setChecked(row.name, from.checked(row.name));
        break;
      case ControlKind::Button:
        break;
    }
  }
}

LineSlot::LineSlot(const Station& station, UsbDeviceName printer, SlotTile& tile, Events events)
    : parts_(station),
      printer_(std::move(printer)),
      tile_(&tile),
      events_(std::move(events)),
      station_(std::make_unique<StationSlot>(station.owner, *this, *this, station.clock, station.appDir, printer_)) {}

LineSlot::~LineSlot() = default;

void LineSlot::run(const Recipe& recipe, const ParaControls& controls, SerialAllocator* numbers) {
  copyControls(controls, controls_);
  run_ = std::make_unique<RecipeRun>(recipe, controls_, "usb:" + printer_.identity + "@" + printer_.port, parts_.appDir,
                                     parts_.language, printer_.port);
  if (numbers != nullptr) run_->useSerialNumbers(*numbers);
  if (tile_) tile_->showStarted();
  runNextAction();
}

void LineSlot::stop() {
  if (run_) run_->stop();
}

void LineSlot::forgetWindow() {
  stop();
  events_ = {[](LineSlot&) {}, [](const DeviceWrite&) {}, [](LineSlot&) {}, [](const std::function<void()>&) {}};
}

std::string LineSlot::keepFailedTrace() const {
  try {
    const std::string path = station_->keepFailedTrace();
    // Named within the program directory, where the operator finds it.
    return path.rfind(parts_.appDir, 0) == 0 ? path.substr(parts_.appDir.size()) : path;
  } catch (const std::runtime_error& error) {
    return error.what();
  }
}

void LineSlot::runNextAction() {
  std::optional<TaskStart> task = run_->next();
  if (const auto write = run_->takeDeviceWrite()) events_.deviceWrite(*write);
  if (task && !station_->engine().StartTask(task->code, task->a, task->b, std::move(task->payload),
                                            std::move(task->transfer))) {
    run_->ended({task->code, kTaskFailedWithText, FailureKind::Other, taskRunningText(parts_.language), {}});
    task.reset();
  }
  tellMoved();
  if (!task) events_.ended(*this);
}

void LineSlot::taskEnded(const TaskOutcome& outcome) {
  if (!running()) return;
  // Keeping a device write and taking the next number write to the disk:
  // each slot's end and next action take a turn of the window's event loop
  // of their own, and run once the engine has finished telling of this end.
  const bool present = outcome.result == kTaskOk || printerPresent();
  events_.later([this, outcome, present] { ended(outcome, present); });
}

void LineSlot::ended(const TaskOutcome& outcome, bool present) {
  run_->ended(outcome, present);
  if (const auto write = run_->takeDeviceWrite()) events_.deviceWrite(*write);
  tellMoved();
  if (!running()) {
    events_.ended(*this);
    return;
  }
  events_.later([this] {
    if (running()) runNextAction();
  });
}

void LineSlot::tellMoved() {
  if (tile_) {
    const PrinterRow& row = run_->row();
    tile_->setIdentity(QString::fromStdString(
        row.printerIdentity.empty() ? printer_.identity : printer_.identity + " · " + row.printerIdentity));
    tile_->setSerialNumber(QString::fromStdString(row.serialNumber));
  }
  events_.moved(*this);
}

bool LineSlot::printerPresent() const {
  const auto listed = station_->engine().usbPrinters();
  return std::any_of(listed.begin(), listed.end(),
                     [&](const UsbDeviceName& device) { return device.port == printer_.port; });
}

void LineSlot::engineMessage(EngineMessage message, int, const std::string& text) {
  if (!tile_ || (message != kStatusChanged && message != kTaskFailed)) return;
  tile_->setAction(QString::fromStdString(text));
}

void LineSlot::transferProgress(const TransferProgress& progress) {
  if (tile_) tile_->setProgress(progress.permille(), progress.phase != TransferPhase::Ended);
}

}  // namespace ombrel::app

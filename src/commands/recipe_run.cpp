#include "commands/recipe_run.h"

#include <algorithm>
#include <utility>
#include <variant>

#include "protocol/codes.h"

namespace ombrel {

RecipeRun::RecipeRun(Recipe recipe, ParaControls& controls, std::string link, std::string programDir)
    : recipe_(std::move(recipe)),
      controls_(controls),
      programDir_(std::move(programDir)),
      started_(std::chrono::steady_clock::now()) {
  row_.time = localTimestamp();
  row_.link = std::move(link);
  for (const std::string& action : recipe_.actions) row_.steps.push_back({action, RecipeStep::Result::NotRun, {}});
}

std::optional<TaskStart> RecipeRun::next() {
  if (row_.end != PrinterRow::End::Running) return std::nullopt;
  if (!identified_) return TaskStart{kTaskLinkTest, 0, 0, {}};
  if (index_ == row_.steps.size()) {
    finish(PrinterRow::End::Passed);
    return std::nullopt;
  }
  if (stopped_) {
    finish(PrinterRow::End::Stopped);
    return std::nullopt;
  }
  RecipeStep& step = row_.steps[index_];
  ActionOutcome outcome = pressAction(*findWindowAction(step.action), controls_, {}, programDir_);
  const bool deviceWrite = step.action == kDeviceWriteControl;
  if (deviceWrite) runningDeviceWrite_.emplace(controls_, row_.link, row_.printerIdentity);
  if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
    step.result = RecipeStep::Result::Refused;
    step.text = refusal->kind == Refusal::Kind::NoChoice ? "No item is chosen in " + refusal->text : refusal->text;
    if (deviceWrite) {
      endedDeviceWrite_ = std::exchange(runningDeviceWrite_, std::nullopt);
      endedDeviceWrite_->refuse(refusal->text);
    }
    finish(PrinterRow::End::Refused, step.text);
    return std::nullopt;
  }
  return std::get<TaskStart>(std::move(outcome));
}

void RecipeRun::ended(const TaskOutcome& outcome, bool present) {
  if (row_.end != PrinterRow::End::Running) return;
  const bool succeeded = outcome.result == kTaskOk;
  const std::string& errorText = outcome.text;
  if (!outcome.printerIdentity.empty()) row_.printerIdentity = outcome.printerIdentity;
  if (!identified_) {
    identified_ = true;
    if (!succeeded) {
      finish(present ? PrinterRow::End::Failed : PrinterRow::End::Removed, errorText);
    } else if (!recipeTakes(recipe_, row_.printerIdentity)) {
      finish(PrinterRow::End::NotMatched);
    }
    return;
  }
  RecipeStep& step = row_.steps[index_];
  if (runningDeviceWrite_) {
    endedDeviceWrite_ = std::exchange(runningDeviceWrite_, std::nullopt);
    endedDeviceWrite_->end(outcome, controls_);
    // The printer holds the number once it took it, also when the task
    // failed after that.
    if (endedDeviceWrite_->record().outcome == DeviceWriteRecord::Outcome::Written) {
      row_.serialNumber = endedDeviceWrite_->record().serialNumber;
    }
  }
  if (succeeded) {
    step.result = RecipeStep::Result::Passed;
    ++index_;
    return;
  }
  step.result = present ? RecipeStep::Result::Failed : RecipeStep::Result::Removed;
  step.text = errorText;
  finish(present ? PrinterRow::End::Failed : PrinterRow::End::Removed, errorText);
}

std::optional<DeviceWrite> RecipeRun::takeDeviceWrite() { return std::exchange(endedDeviceWrite_, std::nullopt); }

bool stationPrinterPresent(TCommThread& engine, const std::string& usbIdentity) {
  if (usbIdentity.empty()) return true;
  const auto listed = engine.usbPrinters();
  return std::find(listed.begin(), listed.end(), usbIdentity) != listed.end();
}

void RecipeRun::finish(PrinterRow::End end, const std::string& text) {
  row_.end = end;
  row_.text = text;
  const auto taken = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started_);
  row_.seconds = static_cast<double>(taken.count()) / 1000;
}

PrinterRow refusedPrinterRow(const std::string& link, const std::string& text) {
  PrinterRow row;
  row.time = localTimestamp();
  row.link = link;
  row.end = PrinterRow::End::Refused;
  row.text = text;
  return row;
}

}  // namespace ombrel

#include "commands/recipe_run.h"

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
  if (deviceWrite) {
    // Taken before the task starts: the number sent, not the one stepped
    // for the next printer.
    runningDeviceWrite_ = DeviceWriteRecord{localTimestamp(),
                                            row_.link,
                                            row_.printerIdentity,
                                            controls_.text("edt_DeviceName"),
                                            controls_.text("edt_DeviceSerialNo"),
                                            DeviceWriteRecord::Outcome::Written,
                                            {}};
  }
  if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
    step.result = RecipeStep::Result::Refused;
    step.text = refusal->kind == Refusal::Kind::NoChoice ? "No item is chosen in " + refusal->text : refusal->text;
    if (deviceWrite) {
      endedDeviceWrite_ = std::move(runningDeviceWrite_);
      runningDeviceWrite_.reset();
      endedDeviceWrite_->outcome = DeviceWriteRecord::Outcome::Refused;
      endedDeviceWrite_->errorText = refusal->text;
    }
    finish(PrinterRow::End::Refused, step.text);
    return std::nullopt;
  }
  return std::get<TaskStart>(std::move(outcome));
}

void RecipeRun::ended(bool succeeded, const std::string& errorText, const std::string& printerIdentity, bool present) {
  if (row_.end != PrinterRow::End::Running) return;
  if (!printerIdentity.empty()) row_.printerIdentity = printerIdentity;
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
    endedDeviceWrite_ = std::move(runningDeviceWrite_);
    runningDeviceWrite_.reset();
    endedDeviceWrite_->printerIdentity = row_.printerIdentity;
    endedDeviceWrite_->outcome = succeeded ? DeviceWriteRecord::Outcome::Written : DeviceWriteRecord::Outcome::Failed;
    endedDeviceWrite_->errorText = errorText;
    if (succeeded) row_.serialNumber = endedDeviceWrite_->serialNumber;
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

std::optional<DeviceWriteRecord> RecipeRun::takeDeviceWrite() {
  std::optional<DeviceWriteRecord> record = std::move(endedDeviceWrite_);
  endedDeviceWrite_.reset();
  return record;
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

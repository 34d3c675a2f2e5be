#include "commands/recipe_run.h"

#include <algorithm>
#include <utility>
#include <variant>

#include "commands/recipe_texts.h"
#include "commands/serial_allocator.h"
#include "protocol/codes.h"

namespace ombrel {

RecipeRun::RecipeRun(Recipe recipe, ParaControls& controls, std::string link, std::string programDir, int language,
                     std::string port)
    : recipe_(std::move(recipe)),
      controls_(controls),
      programDir_(std::move(programDir)),
      language_(language),
      started_(std::chrono::steady_clock::now()) {
  row_.time = localTimestamp();
  row_.link = std::move(link);
  row_.port = std::move(port);
  for (const std::string& action : recipe_.actions) row_.steps.push_back({action, RecipeStep::Result::NotRun, {}});
}

std::optional<TaskStart> RecipeRun::next() {
  if (row_.end != PrinterRow::End::Running) return std::nullopt;
  if (!identified_) {
    if (const auto refused = checkRecipe(recipe_, controls_, programDir_)) {
      const auto found = std::find_if(row_.steps.begin(), row_.steps.end(),
                                      [&](const RecipeStep& step) { return step.action == refused->action; });
      refuse(static_cast<std::size_t>(found - row_.steps.begin()), refused->refusal);
      return std::nullopt;
    }
    return TaskStart{kTaskLinkTest, 0, 0, {}};
  }
  if (index_ == row_.steps.size()) {
    finish(PrinterRow::End::Passed);
    return std::nullopt;
  }
  if (stopped_) {
    finish(PrinterRow::End::Stopped);
    return std::nullopt;
  }
  const std::string& action = row_.steps[index_].action;
  if (action == kDeviceWriteControl && numbers_ != nullptr) {
    try {
      if (const auto refusal = takeSerialNumber()) {
        refuse(index_, *refusal);
        return std::nullopt;
      }
    } catch (const LineDatabaseUnreachable& lost) {
      // The line's server is away: the write fails with nothing sent, as a
      // fault of the line rather than of the printer's settings; the next
      // take connects again.
      refuse(index_, Refusal{Refusal::Kind::Warning, lost.what()});
      row_.steps[index_].result = RecipeStep::Result::Failed;
      row_.end = PrinterRow::End::Failed;
      return std::nullopt;
    }
  }
  ActionOutcome outcome = pressAction(*findWindowAction(action), controls_, {}, programDir_);
  if (const auto* refusal = std::get_if<Refusal>(&outcome)) {
    // Nothing was sent: the number is the next one handed out.
    if (heldNumber_) numbers_->end(*std::exchange(heldNumber_, std::nullopt), NumberEnd::GivenBack);
    refuse(index_, *refusal);
    return std::nullopt;
  }
  if (action == kDeviceWriteControl) runningDeviceWrite_.emplace(controls_, row_.link, row_.printerIdentity);
  return std::get<TaskStart>(std::move(outcome));
}

std::optional<Refusal> RecipeRun::takeSerialNumber() {
  try {
    heldNumber_ = numbers_->take(row_.port);
  } catch (const LineDatabaseUnreachable&) {
    throw;
  } catch (const std::runtime_error& error) {
    return Refusal{Refusal::Kind::Warning, error.what()};
  }
  if (!heldNumber_) return Refusal{Refusal::Kind::Warning, noSerialNumberLeftText(language_)};
  controls_.setText("edt_DeviceSerialNo", std::to_string(*heldNumber_));
  return std::nullopt;
}

// A number whose frame went out unanswered is never handed out again, and
// its record says so.
void RecipeRun::endDeviceWrite(const TaskOutcome& outcome) {
  endedDeviceWrite_ = std::exchange(runningDeviceWrite_, std::nullopt);
  if (!heldNumber_) {
    endedDeviceWrite_->end(outcome, controls_);
    return;
  }
  const NumberEnd fate = numberEndOf(outcome);
  endedDeviceWrite_->end(outcome);
  if (fate == NumberEnd::Unknown) endedDeviceWrite_->abandon(outcome.text);
  numbers_->end(*std::exchange(heldNumber_, std::nullopt), fate);
}

// A refused device write is kept as one: its record says why nothing was written.
void RecipeRun::refuse(std::size_t index, const Refusal& refusal) {
  RecipeStep& step = row_.steps[index];
  step.result = RecipeStep::Result::Refused;
  step.text = recipeRefusalText(refusal, language_);
  if (step.action == kDeviceWriteControl) {
    endedDeviceWrite_.emplace(controls_, row_.link, row_.printerIdentity);
    endedDeviceWrite_->refuse(refusal.text);
  }
  finish(PrinterRow::End::Refused, step.text);
}

std::optional<RecipeRefusal> checkRecipe(const Recipe& recipe, const ParaControls& controls,
                                         const std::string& programDir) {
  for (const std::string& action : recipe.actions) {
    const ActionOutcome outcome = pressAction(*findWindowAction(action), controls, {}, programDir);
    if (const auto* refusal = std::get_if<Refusal>(&outcome)) return RecipeRefusal{action, *refusal};
  }
  return std::nullopt;
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
    endDeviceWrite(outcome);
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
  const auto listed = identitiesOf(engine.usbPrinters());
  return std::find(listed.begin(), listed.end(), usbIdentity) != listed.end();
}

void RecipeRun::finish(PrinterRow::End end, const std::string& text) {
  row_.end = end;
  row_.text = text;
  const auto taken = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started_);
  row_.seconds = static_cast<double>(taken.count()) / 1000;
  row_.ended = localTimestamp();
}

PrinterRow refusedPrinterRow(const std::string& link, const std::string& text) {
  PrinterRow row;
  row.time = localTimestamp();
  row.ended = row.time;
  row.link = link;
  row.end = PrinterRow::End::Refused;
  row.text = text;
  return row;
}

}  // namespace ombrel

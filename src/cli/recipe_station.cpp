#include "cli/recipe_station.h"

#include <algorithm>

#include "commands/printer_rows.h"
#include "commands/recipe_run.h"
#include "commands/recipe_texts.h"
#include "commands/serial_allocator.h"
#include "texts/message_texts.h"

namespace ombrel::cli {

namespace {

// The USB identity the tasks go to; empty on another link.
std::string usbIdentity(ActionContext& context) {
  const LinkSettings link = context.frontEnd.linkSettings();
  return link.transport == Transport::Usb ? link.usbDevice : std::string();
}

void logRow(ActionContext& context, const PrinterRow& row) {
  if (context.options.logFile.empty()) return;
  try {
    appendPrinterRow(ProvisioningLog(context.options.logFile), row);
  } catch (const std::exception& error) {
    context.frontEnd.messageBox(error.what());
    context.recordLost = true;
  }
}

// The row's end as an exit status; `lastTask` is the status of its last task.
int exitStatus(const PrinterRow& row, int lastTask) {
  switch (row.end) {
    case PrinterRow::End::Passed:
      return kExitOk;
    case PrinterRow::End::Refused:
    case PrinterRow::End::NotMatched:
      return kExitRefused;
    case PrinterRow::End::Failed:
      return lastTask == kExitOk ? kExitTaskFailed : lastTask;
    case PrinterRow::End::Running:
    case PrinterRow::End::Removed:
    case PrinterRow::End::Stopped:
      break;
  }
  return kExitTaskFailed;
}

// Saves the settings with the allocator's next number; a station that cannot
// must not go on.
void saveNumbers(ActionContext& context) {
  try {
    context.saveSettings();
  } catch (const std::exception& error) {
    context.frontEnd.messageBox(error.what());
    context.recordLost = true;
  }
}

// Whether the printer is still there after its task failed; a slot's
// printer is the one at its port, whatever others of its kind are plugged in.
bool printerPresent(ActionContext& context) {
  if (context.slotPort.empty()) return stationPrinterPresent(context.engine, usbIdentity(context));
  const auto listed = context.engine.usbPrinters();
  return std::any_of(listed.begin(), listed.end(),
                     [&](const UsbDeviceName& printer) { return printer.port == context.slotPort; });
}

// The action the task next() just gave belongs to: the identification first,
// then the first step not yet run.
std::string runningAction(const PrinterRow& row, bool identified) {
  if (!identified) return "btn_Test";
  for (const RecipeStep& step : row.steps) {
    if (step.result == RecipeStep::Result::NotRun) return step.action;
  }
  return {};
}

int runOnce(ActionContext& context, const Recipe& recipe, PrinterRow& row) {
  const int language = context.options.language;
  RecipeRun run(recipe, context.settings.controls(), linkDescription(context.frontEnd.linkSettings()), context.appDir,
                language, context.slotPort);
  SerialAllocator* const numbers = context.station != nullptr ? context.station->allocator() : nullptr;
  if (numbers != nullptr) run.useSerialNumbers(*numbers);
  int lastTask = kExitOk;
  bool identified = false;
  while (auto task = run.next()) {
    TaskOutcome end;
    const std::string action = runningAction(run.row(), identified);
    identified = true;
    // The device write has just taken its number: DeviceSerialNo shows the next.
    if (numbers != nullptr && action == kDeviceWriteControl) saveNumbers(context);
    context.frontEnd.actionStarted(action);
    lastTask = runTask(context, std::move(*task), &end);
    context.frontEnd.actionEnded(action, lastTask == kExitOk);
    const bool present = lastTask == kExitOk || printerPresent(context);
    run.ended(end, present);
    if (const auto write = run.takeDeviceWrite()) {
      if (numbers != nullptr) saveNumbers(context);
      recordDeviceWrite(context, *write, lastTask);
    }
    if (context.interrupts.interrupted() || context.recordLost) run.stop();
  }
  // A device write refused before anything was sent.
  if (const auto write = run.takeDeviceWrite()) recordDeviceWrite(context, *write, kExitRefused);
  row = run.row();
  if (lastTask == kExitNoPrinter) context.frontEnd.messageBox(messageTexts().text("sConnectErrorstr"));
  switch (row.end) {
    case PrinterRow::End::Refused:
      context.frontEnd.messageBox(row.text);
      break;
    case PrinterRow::End::NotMatched:
      context.frontEnd.messageBox(notMatchedPrinterText(row.printerIdentity, recipe.identityFilter, language));
      break;
    case PrinterRow::End::Removed:
      context.frontEnd.messageBox(printerLeftText(language));
      break;
    case PrinterRow::End::Failed:
      // Failed with no task to say why: the line's server was away.
      if (lastTask == kExitOk) context.frontEnd.messageBox(row.text);
      break;
    default:
      break;
  }
  logRow(context, row);
  const int status = exitStatus(row, lastTask);
  return status == kExitOk && context.recordLost ? static_cast<int>(kExitTaskFailed) : status;
}

}  // namespace

Recipe savedRecipe(const SettingsSession& settings, int language) {
  Recipe recipe;
  try {
    recipe = loadRecipe(IniFile(settings.path()), language);
  } catch (const std::invalid_argument& error) {
    throw UsageError(error.what());
  }
  if (recipe.actions.empty()) {
    throw UsageError(emptyStoredRecipeText(settings.path(), language));
  }
  return recipe;
}

int runRecipe(ActionContext& context, const Recipe& recipe) {
  PrinterRow row;
  return runOnce(context, recipe, row);
}

std::function<SetUpEnd(ActionContext&)> recipeSetUp(const Recipe& recipe) {
  return [&recipe](ActionContext& slot) {
    SetUpEnd end;
    end.row.emplace();
    end.status = runOnce(slot, recipe, *end.row);
    // Not this station's printer: passed over, and the station goes on.
    if (end.row->end == PrinterRow::End::NotMatched) end.status = kExitTaskFailed;
    return end;
  };
}

}  // namespace ombrel::cli

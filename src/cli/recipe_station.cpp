#include "cli/recipe_station.h"

#include "commands/printer_rows.h"
#include "commands/recipe_run.h"
#include "commands/recipe_texts.h"
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

int runOnce(ActionContext& context, const Recipe& recipe, PrinterRow& row) {
  const int language = context.options.language;
  RecipeRun run(recipe, context.settings.controls(), linkDescription(context.frontEnd.linkSettings()), context.appDir,
                language);
  int lastTask = kExitOk;
  while (auto task = run.next()) {
    TaskOutcome end;
    lastTask = runTask(context, std::move(*task), &end);
    const bool present = lastTask == kExitOk || stationPrinterPresent(context.engine, usbIdentity(context));
    run.ended(end, present);
    if (const auto write = run.takeDeviceWrite()) recordDeviceWrite(context, *write, lastTask);
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

PrinterSetUp recipeSetUp(ActionContext& context, const Recipe& recipe) {
  PrinterSetUp setUp;
  setUp.run = [&context, &recipe](const std::string&) {
    PrinterRow row;
    const int status = runOnce(context, recipe, row);
    // Not this station's printer: passed over, and the station goes on.
    return row.end == PrinterRow::End::NotMatched ? static_cast<int>(kExitTaskFailed) : status;
  };
  setUp.refused = [&context](const std::string& identity, const std::string& text) {
    logRow(context, refusedPrinterRow("usb:" + identity, text));
  };
  return setUp;
}

}  // namespace ombrel::cli

// ombrelctl: the engine and the window actions from the command line.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/action_reads.h"
#include "cli/actions.h"
#include "cli/cli_front_end.h"
#include "cli/each_arrival.h"
#include "cli/interrupt_watch.h"
#include "cli/logo_options.h"
#include "cli/options.h"
#include "cli/recipe_station.h"
#include "cli/rows_report.h"
#include "cli/settings_session.h"
#include "cli/station_lines.h"
#include "commands/device_write.h"
#include "commands/line_server_settings.h"
#include "commands/network_settings.h"
#include "commands/port_names.h"
#include "commands/provisioning_log.h"
#include "commands/serial_allocator.h"
#include "commands/slot_queue.h"
#include "commands/recipe_run.h"
#include "commands/recipe_texts.h"
#include "commands/row_upload.h"
#include "commands/window_actions.h"
#include "engine/comm_thread.h"
#include "platform/app_dir.h"
#include "platform/clock.h"
#include "platform/errors.h"
#include "platform/event_loop_thread.h"
#include "ports/serial_port_factory.h"
#include "ports/serial_port_list.h"
#include "ports/udp_client.h"
#include "ports/usb/tusbcomm.h"
#include "ports/usb/usb_identity.h"
#include "ports/usb_printers.h"
#include "settings/main_defaults.h"
#include "texts/language_file.h"

namespace {

using namespace ombrel;

constexpr std::chrono::seconds kRowSendPeriod{2};

// The links a script may pass to --link, serial ports first, one a line.
int listLinks() {
  for (const auto& port : listSerialPorts()) std::printf("serial:%s\n", port.c_str());
  try {
    EventLoopThread loop;
    TUSBComm usb(loop);
    for (const auto& printer : offeredUsbPrinters(usb.listDevices())) {
      std::printf("usb:%s\n", usbDeviceName(printer.identity, printer.port).c_str());
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return cli::kExitTaskFailed;
  }
  return cli::kExitOk;
}

// The window checks an address box as the operator leaves it; here each box
// that an action reads is checked as if left, before anything is sent,
// whether its text came from --set or from the file. The first warning, or
// nothing.
std::optional<std::string> addressWarning(const std::vector<std::string>& actions, const ParaControls& controls) {
  for (const auto& action : actions) {
    const WindowAction* control = findWindowAction(action);
    if (control == nullptr) continue;
    for (const std::string& box : cli::controlsReadBy(*control, controls)) {
      if (const auto refusal = addressBoxExit(controls, box)) return refusal->text;
    }
  }
  return std::nullopt;
}

// Why a station does not start, and its exit status.
struct StationRefused : std::runtime_error {
  StationRefused(const std::string& text, int exitStatus) : std::runtime_error(text), status(exitStatus) {}
  int status;
};

// The line's server as the command line or the settings file name it;
// nothing without one. Raises StationRefused for a connection string that
// names a password, never printing it.
std::optional<LineServer> chosenLineServer(const cli::Options& options, const cli::SettingsSession& settings) {
  LineServerSettings line = loadLineServerSettings(IniFile(settings.path()));
  if (options.lineDb) line.database = *options.lineDb;
  if (options.station) line.station = *options.station;
  if (options.line) line.line = *options.line;
  if (const auto refusal = lineDatabaseRefusal(line.database, options.language)) {
    throw StationRefused(*refusal, cli::kExitRefused);
  }
  return lineServerOf(line);
}

bool writesSerialNumbers(const std::vector<std::string>& actions) {
  return std::find(actions.begin(), actions.end(), kDeviceWriteControl) != actions.end();
}

// What a station needs before its first printer: how many slots, and the
// serial number allocator when its actions write numbers (which also keeps a
// second station off the program directory). The numbers a killed station
// held are logged as of unknown fate.
struct StationStart {
  StationStart(const cli::Options& options, cli::SettingsSession& settings, const std::string& appDir,
               const std::vector<std::string>& actions, const std::optional<LineServer>& server) {
    const int stored = IniFile(settings.path()).readInteger(kRecipeSection, "Slots", kDefaultSlots);
    // A stored count out of range is read as the default, as any settings value.
    slots = options.slots.value_or(stored < kMinSlots || stored > kMaxSlots ? kDefaultSlots : stored);
    if (writesSerialNumbers(actions)) {
      if (const auto refusal = serialNumberRefusal(settings.controls(), options.language)) {
        throw StationRefused(*refusal, cli::kExitRefused);
      }
      try {
        allocator = server ? std::make_unique<SerialAllocator>(appDir, settings.controls(), options.language, *server)
                           : std::make_unique<SerialAllocator>(appDir, settings.controls(), options.language);
      } catch (const StationLocked& locked) {
        throw StationRefused(locked.what(), cli::kExitRefused);
      } catch (const LineDatabaseUnreachable& lost) {
        // A station without its line's numbers does not start.
        throw StationRefused(std::string(lost.what()) + ": " + lost.detail(), cli::kExitRefused);
      } catch (const std::runtime_error& error) {
        throw StationRefused(error.what(), cli::kExitTaskFailed);
      }
      logAbandoned(options);
    }
    share = std::make_unique<cli::StationShare>(settings, allocator.get());
    try {
      share->save();
    } catch (const std::exception& error) {
      throw StationRefused(error.what(), cli::kExitTaskFailed);
    }
  }

  void logAbandoned(const cli::Options& options) const {
    const auto numbers = allocator->abandoned();
    if (numbers.empty() || options.logFile.empty()) return;
    try {
      logAbandonedNumbers(numbers, ProvisioningLog(options.logFile), options.language);
    } catch (const std::exception& error) {
      throw StationRefused(error.what(), cli::kExitTaskFailed);
    }
  }

  int slots = kDefaultSlots;
  std::unique_ptr<SerialAllocator> allocator;
  std::unique_ptr<cli::StationShare> share;
};

int run(cli::Options options) {
  // Before any other thread starts, so that Ctrl-C reaches only the watch.
  cli::InterruptWatch interrupts;
  const std::string appDir = programDirectory(options.dir);
  const std::string appSettings = appDir + "sysconfig.ini";
  // The main window keeps its language there, whichever file holds the
  // parameters; its language also chooses the list texts saved back.
  if (!options.languageGiven) options.language = startLanguage(loadMainDefaults(IniFile(appSettings)));
  std::vector<std::filesystem::path> languageDirs;
  for (const auto& dir : languageDirectories(appDir)) languageDirs.emplace_back(dir);
  applyLanguage(options.language, languageDirs, {});

  cli::SettingsSession settings(options.settingsFile.empty() ? appSettings : options.settingsFile);
  settings.load();
  try {
    for (const auto& [name, value] : options.sets) settings.set(name, value);
  } catch (const cli::RefusedValue& refusal) {
    std::fprintf(stderr, "%s\n", refusal.what());
    return cli::kExitRefused;
  }
  cli::applyLogoOptions(options, settings.controls());
  try {
    cli::writeLogoPreview(options, settings.controls());
  } catch (const ECommonError& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return cli::kExitRefused;
  }
  std::optional<Recipe> recipe;
  std::vector<std::string> actionNames;
  try {
    if (options.recipe) recipe = cli::savedRecipe(settings, options.language);
  } catch (const cli::UsageError& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return cli::kExitRefused;
  }
  if (recipe) actionNames = recipe->actions;
  for (const auto& action : options.actions) actionNames.push_back(action.name);
  if (const auto warning = addressWarning(actionNames, settings.controls())) {
    std::fprintf(stderr, "%s\n", warning->c_str());
    return cli::kExitRefused;
  }
  // Every action of a recipe is checked, as the window's station does, before
  // anything is sent or saved.
  if (const auto refused = recipe ? checkRecipe(*recipe, settings.controls(), appDir) : std::nullopt) {
    std::fprintf(stderr, "%s\n", recipeRefusalText(refused->refusal, options.language).c_str());
    return cli::kExitRefused;
  }
  // A run whose device writes take their numbers from the line's server
  // starts as a station does, with one slot, so that its numbers come from
  // the line's counter too.
  std::optional<StationStart> station;
  try {
    const auto server = chosenLineServer(options, settings);
    // --rework N is btn_SetDevicePara writing N as btn_Rework writes the
    // typed number.
    if (options.rework) settings.controls().setText("edt_DeviceSerialNo", std::to_string(*options.rework));
    if (options.rework || std::ranges::count(actionNames, std::string(kReworkControl)) != 0) {
      // Checked and recorded before anything is sent; the write's own outcome
      // goes to the provisioning log as any device write's.
      if (const auto refusal =
              reworkRefusal(server, settings.controls().text("edt_DeviceSerialNo"), options.language)) {
        throw StationRefused(*refusal, cli::kExitRefused);
      }
    } else if (options.eachArrival || (server && writesSerialNumbers(actionNames))) {
      station.emplace(options, settings, appDir, actionNames, server);
    }
  } catch (const StationRefused& refused) {
    std::fprintf(stderr, "%s\n", refused.what());
    return refused.status;
  }
  // With a line database the rows of the log go to its server too.
  const RowsSource rowsSource = cli::rowsSourceOf(options, settings.path(), options.logFile);
  if (const auto refusal = lineDatabaseRefusal(rowsSource.conninfo, options.language)) {
    std::fprintf(stderr, "%s\n", refusal->c_str());
    return cli::kExitRefused;
  }
  std::optional<RowSender> rowSender;
  if (!options.logFile.empty() && !rowsSource.conninfo.empty()) {
    rowSender.emplace(options.logFile, LineServer{rowsSource.conninfo, rowsSource.line, rowsSource.station},
                      options.language, kRowSendPeriod);
  }
  const bool saveSettings = options.recipe || !options.settingsFile.empty() || !options.sets.empty() ||
                            std::any_of(options.actions.begin(), options.actions.end(),
                                        [](const cli::Action& action) { return cli::isParametersAction(action.name); });

  ScaledClock clock(ScaledClock::factorFromEnvironment());
  EventLoopThread loop;
  cli::CliFrontEnd frontEnd(options.link, stdout, stderr, options.language, clock);
  auto serial = makePrinterSerialPort(loop);
  TUSBComm usb(loop);
  UdpClient udp;
  int status = cli::kExitOk;
  {
    TCommThread engine(loop, frontEnd, frontEnd, {*serial, usb, udp}, clock, appDir + "debug.log");
    cli::ActionContext context{engine, frontEnd, options, clock, settings, interrupts, appDir, false};
    if (station) context.station = station->share.get();
    if (options.eachArrival) {
      // On a production line Ctrl-C lets the printers being set up finish:
      // their tasks are not cancelled, so no serial number is in doubt.
      interrupts.setHandler([&frontEnd] { frontEnd.wakeUsbWaiters(); });
      const IniFile stored(settings.path());
      cli::StationLines lines(stdout, stderr, options.json, station->slots > 1,
                              parsePortNames(stored.readString(kRecipeSection, "PortNames", "")), options.language);
      const cli::Station parts{options,
                               clock,
                               interrupts,
                               appDir,
                               *station->share,
                               lines,
                               recipe ? cli::recipeSetUp(*recipe) : cli::actionsSetUp(options.actions)};
      status = cli::runOnEachArrival(frontEnd, parts, station->slots);
    } else {
      // Ctrl-C cancels the running task, which closes its link and ends as a
      // failure; no further action runs.
      interrupts.setHandler([&engine] { engine.requestCancel(); });
      status = recipe ? cli::runRecipe(context, *recipe) : cli::runActions(context, options.actions);
    }
    interrupts.setHandler(nullptr);
  }
  // Ctrl-C is how a production line ends; elsewhere it stops the actions.
  if (!options.eachArrival && interrupts.interrupted() && status == cli::kExitOk) status = cli::kExitTaskFailed;
  loop.send([] {});  // the engine's last messages have been handled
  if (rowSender) {
    rowSender->finish();
    if (!rowSender->problem().empty()) std::fprintf(stderr, "%s\n", rowSender->problem().c_str());
  }

  if (saveSettings) {
    try {
      station ? station->share->save() : settings.save();
    } catch (const std::exception& error) {
      std::fprintf(stderr, "%s\n", error.what());
      if (status == cli::kExitOk) status = cli::kExitTaskFailed;
    }
  }
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  cli::Options options;
  try {
    options = cli::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
      std::fputs(cli::kUsage, stdout);
      return cli::kExitOk;
    }
    if (options.version) {
      std::fputs("ombrelctl (Ombrel Setting Tool) " OMBREL_VERSION "\n", stdout);
      return cli::kExitOk;
    }
    if (options.listActions) {
      std::fputs(cli::actionReadsText().c_str(), stdout);
      return cli::kExitOk;
    }
    if (options.list) return listLinks();
    if (options.rows) {
      if (!options.actions.empty() || options.recipe || options.eachArrival) {
        throw cli::UsageError("--rows prints the rows, it runs no actions");
      }
      return cli::printRows(options);
    }
    if (!options.rowsDay.empty()) throw cli::UsageError("--day belongs to --rows");
    if (options.actions.empty() && !options.recipe && options.settingsFile.empty() && options.sets.empty() &&
        options.logoPreview.empty()) {
      throw cli::UsageError("no action given");
    }
    if (options.recipe && !options.actions.empty())
      throw cli::UsageError("--recipe runs the saved recipe, not actions");
    if (!options.eachArrival && (options.slots || options.json)) {
      throw cli::UsageError("--slots and --json belong to --each-arrival");
    }
    const auto count = [&](const char* name) {
      return std::ranges::count_if(options.actions, [name](const cli::Action& a) { return a.name == name; });
    };
    const auto reworks = options.rework ? count(kDeviceWriteControl) + count(kReworkControl) : count(kReworkControl);
    if ((options.rework || reworks != 0) &&
        (options.eachArrival || options.recipe || reworks != 1 || (!options.rework && count(kDeviceWriteControl)))) {
      throw cli::UsageError(
          "a rework writes one printer's number: one btn_Rework (or --rework N btn_SetDevicePara), no other "
          "device write, --recipe or --each-arrival");
    }
    if (options.eachArrival && options.actions.empty() && !options.recipe) {
      throw cli::UsageError("--each-arrival needs actions to run, or --recipe");
    }
    cli::checkActions(options.actions);
    return run(options);
  } catch (const cli::UsageError& error) {
    std::fprintf(stderr, "ombrelctl: %s\nTry 'ombrelctl --help'.\n", error.what());
    return cli::kExitRefused;
  }
}

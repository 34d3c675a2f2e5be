#pragma once

// The actions of ombrelctl, run in order, each after the task of the previous
// one has ended. Each returns an exit status: 0 all went well, 1 a task
// failed, 2 the action refused its input, 3 the link test found no printer.

#include <string>
#include <vector>

#include "cli/cli_front_end.h"
#include "cli/interrupt_watch.h"
#include "cli/options.h"
#include "cli/settings_session.h"
#include "cli/station_share.h"
#include "commands/device_write.h"
#include "commands/window_action.h"
#include "engine/comm_thread.h"
#include "platform/clock.h"

namespace ombrel::cli {

enum ExitStatus : int { kExitOk = 0, kExitTaskFailed = 1, kExitRefused = 2, kExitNoPrinter = 3 };

struct ActionContext {
  TCommThread& engine;
  CliFrontEnd& frontEnd;
  const Options& options;
  Clock& clock;
  SettingsSession& settings;
  const InterruptWatch& interrupts;  // after Ctrl-C no further action runs
  const std::string& appDir;         // the program directory, ending in '/'
  // The settings or the provisioning log could not be written: a production
  // line must not go on.
  bool recordLost = false;
  // In a station's slot: what the slots share (numbers, saving), and the
  // port of the slot's printer.
  StationShare* station = nullptr;
  std::string slotPort{};

  // Saves the settings, through the station in a slot.
  void saveSettings() { station != nullptr ? station->save() : settings.save(); }
};

// Refuses (UsageError) an unknown action name or a value an action does not
// take, so that a wrong list sends nothing at all.
void checkActions(const std::vector<Action>& actions);

// Whether an action belongs to the parameters window (its values are then
// saved back after the run).
bool isParametersAction(const std::string& name);

// Runs every action of a list checkActions accepted; stops at the first that does not end well and returns
// its status.
int runActions(ActionContext& context, const std::vector<Action>& actions);

// Waits for the end of the task just started and turns its outcome into an
// exit status; `ended`, when given, receives the outcome itself. A cancelled
// program update also warns of a partial program.
int waitForTask(ActionContext& context, bool programUpdate = false, TaskOutcome* ended = nullptr);

// Keeps what a device write has done (keepDeviceWrite: the settings, and its
// line in the provisioning log when one is kept), after telling why its
// number did not step if it did not. Returns `status`, or 1 when the record
// could not be written (recordLost is then set).
int recordDeviceWrite(ActionContext& context, const DeviceWrite& write, int status);

// Starts a task, waits for its end and turns the outcome into an exit status.
int runTask(ActionContext& context, int code, int a, int b, Bytes payload = {});
// The same for a window action's task, with its file transfer if it has one.
int runTask(ActionContext& context, TaskStart start, TaskOutcome* ended = nullptr);

}  // namespace ombrel::cli

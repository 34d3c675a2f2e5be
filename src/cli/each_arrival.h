#pragma once

// ombrelctl --each-arrival, for a production line: every USB printer that
// arrives is set up, one printer after another, until Ctrl-C or SIGTERM.
// After Ctrl-C the running action is finished and no further one runs, and
// the settings are saved after every printer, so an interruption never gives
// two printers the same serial number.

#include <functional>
#include <string>
#include <vector>

#include "cli/actions.h"

namespace ombrel::cli {

struct PrinterSetUp {
  // Sets up the printer of this identity (the tasks already go to it) and
  // returns its exit status; 2 ends the station.
  std::function<int(const std::string& identity)> run;
  // A printer that was not set up because another present one shares its identity.
  std::function<void(const std::string& identity, const std::string& text)> refused = nullptr;
};

// Printers present at the start are left alone. A printer whose identity
// another present printer shares is not set up: the port could not tell
// the new one from the old. Returns 0 once `interrupted` says so, 2 as soon
// as a set-up returns 2 (every next printer would be refused too), 1 when
// the settings or the provisioning log could not be written.
int runOnEachArrival(ActionContext& context, const PrinterSetUp& setUp, const std::function<bool()>& interrupted);

// The set-up of the actions given on the command line.
PrinterSetUp actionsSetUp(ActionContext& context, const std::vector<Action>& actions);

}  // namespace ombrel::cli

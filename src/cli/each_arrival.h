#pragma once

// ombrelctl --each-arrival, for a production line: every USB printer that
// arrives gets a slot of its own (slot_run.h), at most `slots` at once, the
// others waiting in the order they came, until Ctrl-C or SIGTERM. Printers
// present at the start are left alone; a printer that has been set up counts
// as done until it is unplugged. After Ctrl-C each slot finishes its running
// action and nothing more starts.

#include <vector>

#include "cli/slot_run.h"

namespace ombrel::cli {

// Returns 0 when every printer passed, 1 when any failed or the settings,
// the journal or the provisioning log could not be written (then nothing
// more starts), 2 as soon as a set-up returns 2 (every next printer would be
// refused too).
int runOnEachArrival(CliFrontEnd& watch, const Station& station, int slots);

// The set-up of the actions given on the command line.
std::function<SetUpEnd(ActionContext&)> actionsSetUp(const std::vector<Action>& actions);

}  // namespace ombrel::cli

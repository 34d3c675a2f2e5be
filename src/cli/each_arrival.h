#pragma once

// ombrelctl --each-arrival, for a production line: the actions run on every
// USB printer that arrives, one printer after another, until Ctrl-C or
// SIGTERM. A printer being set up is finished before the run ends, and the
// settings are saved after every printer, so an interruption never gives two
// printers the same serial number.

#include <functional>
#include <vector>

#include "cli/actions.h"

namespace ombrel::cli {

// Printers present at the start are left alone. A printer whose identity
// another present printer shares is not set up: the port could not tell
// the new one from the old. Returns 0 once `interrupted` says so, 2 as soon
// as an action refuses its input (every next printer would be refused too),
// 1 when the settings or the provisioning log could not be written.
int runOnEachArrival(ActionContext& context, const std::vector<Action>& actions,
                     const std::function<bool()>& interrupted);

}  // namespace ombrel::cli

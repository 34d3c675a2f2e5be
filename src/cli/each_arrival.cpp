#include "cli/each_arrival.h"

#include <algorithm>

namespace ombrel::cli {

namespace {

// The identities `now` holds more often than `before`: the printers that arrived.
std::vector<std::string> arrivals(const std::vector<std::string>& before, const std::vector<std::string>& now) {
  std::vector<std::string> arrived;
  for (const std::string& identity : now) {
    const bool counted = std::find(arrived.begin(), arrived.end(), identity) != arrived.end();
    if (!counted && std::count(now.begin(), now.end(), identity) > std::count(before.begin(), before.end(), identity)) {
      arrived.push_back(identity);
    }
  }
  return arrived;
}

// The actions on one printer, then the settings saved whatever happened.
int setUp(ActionContext& context, const std::vector<Action>& actions, const std::string& identity) {
  context.frontEnd.useUsbPrinter(identity);
  context.frontEnd.say("USB printer " + identity + " arrived");
  int status = runActions(context, actions);
  try {
    context.settings.save();
  } catch (const std::exception& error) {
    context.frontEnd.messageBox(error.what());
    context.recordLost = true;
  }
  context.frontEnd.say(status == kExitOk ? "USB printer " + identity + " is set up"
                                         : "USB printer " + identity + " was not set up");
  return status;
}

}  // namespace

int runOnEachArrival(ActionContext& context, const std::vector<Action>& actions,
                     const std::function<bool()>& interrupted) {
  CliFrontEnd& frontEnd = context.frontEnd;
  // The engine's first report: the printers present before the run.
  auto report = frontEnd.waitForUsbReport(0, interrupted);
  if (!report) return kExitOk;
  std::vector<std::string> present = report->printers;
  std::uint64_t seen = report->number;
  frontEnd.say("Waiting for USB printers; Ctrl-C ends");
  while ((report = frontEnd.waitForUsbReport(seen, interrupted))) {
    seen = report->number;
    for (const std::string& identity : arrivals(present, report->printers)) {
      if (std::count(report->printers.begin(), report->printers.end(), identity) > 1) {
        frontEnd.messageBox("Another USB printer " + identity +
                            " is still plugged in, so the new one cannot be told from it and was not set up. "
                            "Unplug the printers that are done, then plug the new one in again.");
        continue;
      }
      const int status = setUp(context, actions, identity);
      if (status == kExitRefused) return status;
      if (context.recordLost) return kExitTaskFailed;
    }
    present = report->printers;
  }
  return kExitOk;
}

}  // namespace ombrel::cli

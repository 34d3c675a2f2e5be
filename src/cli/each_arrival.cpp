#include "cli/each_arrival.h"

#include <utility>

#include "commands/usb_arrivals.h"

namespace ombrel::cli {

int runOnEachArrival(ActionContext& context, const PrinterSetUp& setUp, const std::function<bool()>& interrupted) {
  CliFrontEnd& frontEnd = context.frontEnd;
  // The engine's first report: the printers present before the run.
  auto report = frontEnd.waitForUsbReport(0, interrupted);
  if (!report) return kExitOk;
  UsbArrivals arrivals(report->printers);
  std::uint64_t seen = report->number;
  frontEnd.say("Waiting for USB printers; Ctrl-C ends");
  std::vector<UsbArrivals::Arrival> arrived;
  while ((report = frontEnd.waitForUsbReport(seen, interrupted))) {
    seen = report->number;
    const auto more = arrivals.take(report->printers);
    arrived.insert(arrived.end(), more.begin(), more.end());
    if (!frontEnd.usbQuietFor(seen, kArrivalSettleTime)) continue;
    for (const UsbArrivals::Arrival& arrival : std::exchange(arrived, {})) {
      if (arrival.indistinct) {
        const std::string text = indistinctPrinterText(arrival.identity);
        frontEnd.messageBox(text);
        if (setUp.refused) setUp.refused(arrival.identity, text);
        if (context.recordLost) return kExitTaskFailed;
        continue;
      }
      frontEnd.useUsbPrinter(arrival.identity);
      frontEnd.say("USB printer " + arrival.identity + " arrived");
      const int status = setUp.run(arrival.identity);
      try {
        context.settings.save();
      } catch (const std::exception& error) {
        frontEnd.messageBox(error.what());
        context.recordLost = true;
      }
      frontEnd.say(status == kExitOk ? "USB printer " + arrival.identity + " is set up"
                                     : "USB printer " + arrival.identity + " was not set up");
      if (status == kExitRefused) return status;
      if (context.recordLost) return kExitTaskFailed;
    }
  }
  return kExitOk;
}

PrinterSetUp actionsSetUp(ActionContext& context, const std::vector<Action>& actions) {
  return {[&context, &actions](const std::string&) { return runActions(context, actions); }};
}

}  // namespace ombrel::cli

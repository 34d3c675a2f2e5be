#include "cli/each_arrival.h"

#include <optional>

#include "commands/recipe_texts.h"
#include "commands/usb_arrivals.h"

namespace ombrel::cli {

int runOnEachArrival(ActionContext& context, const PrinterSetUp& setUp, const std::function<bool()>& interrupted) {
  CliFrontEnd& frontEnd = context.frontEnd;
  // The engine's first report: the printers present before the run.
  auto report = frontEnd.waitForUsbReport(0, interrupted);
  if (!report) return kExitOk;
  ArrivalQueue arrivals(identitiesOf(report->printers));
  std::uint64_t seen = report->number;
  const int language = context.options.language;
  frontEnd.say(waitingForUsbPrintersText(language));
  std::optional<int> end;  // the station's exit status, once it must stop
  const ArrivalQueue::Turns turns{
      [&](const std::string& identity) {
        frontEnd.useUsbPrinter(identity);
        frontEnd.say(printerArrivedText(identity, language));
        const int status = setUp.run(identity);
        try {
          context.settings.save();
        } catch (const std::exception& error) {
          frontEnd.messageBox(error.what());
          context.recordLost = true;
        }
        frontEnd.say(printerSetUpText(identity, status == kExitOk, language));
        if (status == kExitRefused) end = status;
      },
      [&](const std::string& identity, const std::string& text) {
        frontEnd.messageBox(text);
        if (setUp.refused) setUp.refused(identity, text);
      },
  };
  while ((report = frontEnd.waitForUsbReport(seen, interrupted))) {
    seen = report->number;
    arrivals.report(identitiesOf(report->printers));
    if (!frontEnd.usbQuietFor(seen, kArrivalSettleTime)) continue;
    arrivals.serve([&] { return !end && !context.recordLost; }, turns, language);
    if (end) return *end;
    if (context.recordLost) return kExitTaskFailed;
  }
  return kExitOk;
}

PrinterSetUp actionsSetUp(ActionContext& context, const std::vector<Action>& actions) {
  return {[&context, &actions](const std::string&) { return runActions(context, actions); }};
}

}  // namespace ombrel::cli

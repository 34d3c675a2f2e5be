#include "cli/each_arrival.h"

#include <atomic>
#include <list>
#include <memory>

#include "commands/printer_rows.h"
#include "commands/recipe_texts.h"
#include "commands/slot_queue.h"

namespace ombrel::cli {

int runOnEachArrival(CliFrontEnd& watch, const Station& station, int slots) {
  const auto interrupted = [&station] { return station.interrupts.interrupted(); };
  // The engine's first report: the printers present before the run.
  auto report = watch.waitForUsbReport(0, interrupted);
  if (!report) return kExitOk;
  std::uint64_t seen = report->number;
  SlotQueue queue(report->printers, slots);
  station.lines.notice(waitingForUsbPrintersText(station.options.language));

  std::list<std::unique_ptr<SlotRun>> running;
  std::atomic<bool> slotEnded{false};
  bool stopping = false;
  int status = kExitOk;
  for (;;) {
    for (auto slot = running.begin(); slot != running.end();) {
      if (!(*slot)->done()) {
        ++slot;
        continue;
      }
      const SetUpEnd& end = (*slot)->end();
      const UsbDeviceName& printer = (*slot)->printer();
      station.lines.row(printer.port, printer.identity, end.row ? printerRowLine(*end.row) : std::string(),
                        end.status == kExitOk);
      if (end.status == kExitRefused) status = kExitRefused;
      if (end.status != kExitOk && status == kExitOk) status = kExitTaskFailed;
      if ((*slot)->recordLost() && status == kExitOk) status = kExitTaskFailed;
      if (end.status == kExitRefused || (*slot)->recordLost()) stopping = true;
      queue.finished((*slot)->printer().port);
      slot = running.erase(slot);
    }
    if (interrupted()) stopping = true;
    if (stopping) {
      queue.clearWaiting();
      if (running.empty()) return status;
    } else {
      while (auto printer = queue.start()) {
        running.push_back(std::make_unique<SlotRun>(station, *printer, [&] {
          slotEnded = true;
          watch.wakeUsbWaiters();
        }));
      }
    }
    const bool wasStopping = stopping;
    auto next = watch.waitForUsbReport(seen, [&] { return slotEnded || (interrupted() && !wasStopping); });
    slotEnded = false;
    if (!next) continue;
    seen = next->number;
    const SlotQueue::Changes changes = queue.report(next->printers);
    for (const auto& port : changes.left) station.lines.left(port);
    for (const auto& printer : changes.arrived) station.lines.arrived(printer.port, printer.identity);
  }
}

std::function<SetUpEnd(ActionContext&)> actionsSetUp(const std::vector<Action>& actions) {
  return [&actions](ActionContext& slot) { return SetUpEnd{runActions(slot, actions), std::nullopt}; };
}

}  // namespace ombrel::cli

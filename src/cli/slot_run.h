#pragma once

// One printer's slot in ombrelctl's station: its own engine on a USB link
// bound to its port, its own front end and its own copy of the settings,
// and a thread of its own that runs the set-up on it, so that a slow or
// hanging printer holds up no other.

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "cli/actions.h"
#include "cli/station_lines.h"
#include "commands/recipe_run.h"
#include "commands/station_slot.h"
#include "platform/event_loop_thread.h"

namespace ombrel::cli {

// How a printer's set-up ended: its exit status, and its row when it ran a recipe.
struct SetUpEnd {
  int status = kExitOk;
  std::optional<PrinterRow> row;
};

// What every slot of a station is given.
struct Station {
  const Options& options;
  Clock& clock;
  const InterruptWatch& interrupts;
  const std::string& appDir;
  StationShare& share;
  StationLines& lines;
  // Sets up the printer of the slot's context (its tasks already go to it).
  std::function<SetUpEnd(ActionContext& slot)> setUp;
};

class SlotRun {
 public:
  // Starts at once; `ended` is called on the slot's thread once it is done.
  SlotRun(const Station& station, UsbDeviceName printer, std::function<void()> ended);
  // Waits for the slot's thread.
  ~SlotRun();
  SlotRun(const SlotRun&) = delete;
  SlotRun& operator=(const SlotRun&) = delete;

  const UsbDeviceName& printer() const { return slot_.printer(); }
  bool done() const { return done_; }
  // Once done(): how it ended.
  const SetUpEnd& end() const { return end_; }
  bool recordLost() const { return context_.recordLost; }

 private:
  void run(const std::function<void()>& ended);

  const Station& station_;
  EventLoopThread loop_;
  SlotLines view_;
  CliFrontEnd frontEnd_;
  StationSlot slot_;
  SettingsSession settings_;
  ActionContext context_;
  SetUpEnd end_;
  std::atomic<bool> done_{false};
  std::thread thread_;
};

}  // namespace ombrel::cli

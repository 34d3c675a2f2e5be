#pragma once

// One slot of a station: the engine of the printer plugged into one USB
// port, with a USB link bound to that port ("usb:@PORT") and a trace of its
// own, "debug-<port>.log" beside "debug.log". The arrivals and removals of
// other devices leave its port open; it closes when its own printer leaves.
// The front end gives each slot its host and notify window, on the owner's
// thread as for any engine.

#include <memory>
#include <string>

#include "engine/comm_thread.h"
#include "engine/engine_host.h"
#include "platform/clock.h"
#include "platform/owner_thread.h"
#include "platform/usb_device_name.h"

namespace ombrel {

class StationSlot {
 public:
  // `appDir` ends in '/'.
  // `printer` must have a port (raises std::invalid_argument otherwise).
  StationSlot(OwnerThread& owner, EngineHost& host, NotifyWindow& notify, Clock& clock, const std::string& appDir,
              UsbDeviceName printer);
  // Waits for a running task to end, as the engine does: drop a slot once
  // its task's end has been told.
  ~StationSlot();
  StationSlot(const StationSlot&) = delete;
  StationSlot& operator=(const StationSlot&) = delete;

  TCommThread& engine();
  const UsbDeviceName& printer() const { return printer_; }
  // The trace of its latest task.
  const std::string& tracePath() const { return tracePath_; }
  // Its printer failed: its latest trace is kept as
  // "traces/<time>-<port>.log" beside "debug.log". The trace is whole in its
  // file once the task's end is told; call this before the slot's next task.
  // Returns that path; raises std::runtime_error naming the file when it
  // cannot be written.
  std::string keepFailedTrace() const;

 private:
  struct Parts;
  UsbDeviceName printer_;
  std::string appDir_;
  std::string tracePath_;
  std::unique_ptr<Parts> parts_;  // the ports, then the engine on them
};

// The link a slot's tasks take: the USB printer at `port`, whatever its identity.
LinkSettings slotLinkSettings(const std::string& port);

}  // namespace ombrel

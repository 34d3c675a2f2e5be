#pragma once

// The printers of a station by the port they are plugged into. Every
// printer that arrives gets a slot of its own, at most `slots` running at
// once; the others wait in the order they came. A port whose printer left
// and that holds a printer again holds a new printer. Both front ends run it
// on their owner thread.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/usb_device_name.h"

namespace ombrel {

inline constexpr int kMinSlots = 1;
inline constexpr int kMaxSlots = 32;
inline constexpr int kDefaultSlots = 8;

class SlotQueue {
 public:
  // The printers present at the start are left alone. `slots` beyond
  // kMinSlots..kMaxSlots counts as the nearest of them. A printer whose port
  // is unknown is passed over: no link can be bound to it.
  SlotQueue(const std::vector<UsbDeviceName>& present, int slots);

  struct Changes {
    std::vector<UsbDeviceName> arrived;  // in the order of the list
    std::vector<std::string> left;       // ports
  };
  // Another list of present printers: the printers that arrived join the
  // waiting ones; those that left are no longer waiting or running.
  Changes report(const std::vector<UsbDeviceName>& now);

  // The waiting printer that may start now, first come first, while fewer
  // than `slots` run; it counts as running until finished() or its leaving.
  std::optional<UsbDeviceName> start();
  // Its run is over (its printer may stay plugged in: it is not set up again).
  void finished(const std::string& port);
  // Runs the printer of this port again (Retry), as soon as a slot is free.
  // False when no printer is at that port any more.
  bool retry(const std::string& port);
  // No printer waits any more (Stop).
  void clearWaiting();

  std::size_t running() const { return running_.size(); }
  std::size_t waiting() const { return waiting_.size(); }

 private:
  std::size_t slots_;
  std::vector<UsbDeviceName> present_;
  std::vector<UsbDeviceName> waiting_;
  std::vector<std::string> running_;  // ports
};

}  // namespace ombrel

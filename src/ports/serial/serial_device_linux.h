#pragma once

// One opened serial device: exclusive open, line configuration, purge and the
// driver's line counters. The reader and writer threads use it concurrently;
// every operation is a single system call on the descriptor, which stays
// valid until the device is destroyed after both threads have ended.

#include <optional>
#include <string>

#include "ports/serial/line_events.h"
#include "ports/serial/serial_settings.h"

namespace ombrel {

class SerialDevice {
 public:
  // Opens `path` for this component alone, non-blocking. Raises ECommsError:
  // "Error opening serial port" when it cannot be opened or is in use,
  // "File handle is not a comm handle " when it is not a terminal device,
  // "Cannot setup comm buffer" when its driver refuses the terminal settings.
  static SerialDevice open(const std::string& path);

  SerialDevice(SerialDevice&& other) noexcept;
  SerialDevice& operator=(SerialDevice&&) = delete;
  SerialDevice(const SerialDevice&) = delete;
  SerialDevice& operator=(const SerialDevice&) = delete;
  ~SerialDevice();

  int fd() const { return fd_; }

  // Writes the line properties into the driver's configuration; what the
  // driver rejects is left as it was, unreported.
  void applyLineSettings(const LineSettings& settings) const;

  enum class Purge { Input, Output, Both };
  // Discards what the driver holds in that direction.
  void purge(Purge what) const;
  // Whether the driver still holds output it has not sent, in its buffer or
  // in the transmitter itself where the driver tells.
  bool outputPending() const;

  // The driver's line counters; nothing when the driver keeps none (a
  // pseudo-terminal, for one) or the device has gone.
  std::optional<LineCounters> lineCounters() const;

 private:
  explicit SerialDevice(int fd) : fd_(fd) {}
  int fd_;
  bool markedExclusive_ = false;  // only the holder may lift the mark
};

}  // namespace ombrel

#pragma once

// One printer as a transport sees it: each received unit goes through the
// model, its reply through the fault injector, and both into the log. The
// transport only moves bytes and keeps time.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fault_injector.h"
#include "frame_log.h"
#include "printer_model.h"

namespace ombrel::vprinter {

struct OutgoingReply {
  Bytes bytes;
  std::int64_t delayMs = 0;  // protocol milliseconds to wait before sending
  std::uint16_t command = 0;
  std::vector<std::string> faults;  // the faults that shaped it
};

class PrinterSession {
 public:
  PrinterSession(PrinterModel& model, FaultInjector& faults, FrameLog& log);

  // Logs the unit; returns the reply to send, if any.
  std::optional<OutgoingReply> receive(const Bytes& unit);
  // Logs a reply once the transport has sent it.
  void sent(const OutgoingReply& reply);

 private:
  PrinterModel& model_;
  FaultInjector& faults_;
  FrameLog& log_;
};

}  // namespace ombrel::vprinter

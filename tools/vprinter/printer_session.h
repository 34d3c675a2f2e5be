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
  std::int64_t delayMs = 0;              // protocol milliseconds to wait before sending
  std::optional<std::uint16_t> command;  // nullopt: an answer to raw bytes
  std::vector<std::string> faults;       // the faults that shaped it
  int copies = 1;                        // how often it goes out, one after the other
};

class PrinterSession {
 public:
  PrinterSession(PrinterModel& model, FaultInjector& faults, FrameLog& log);

  // Logs the unit; returns the reply to send, if any.
  std::optional<OutgoingReply> receive(const Bytes& unit);
  // Logs a reply once the transport has sent it.
  void sent(const OutgoingReply& reply);

  // True once the printer has hung up (--hang-up-after): a transport with a
  // line to drop drops it and stops serving.
  bool hungUp() const { return faults_.hungUp(); }
  // UDP: replies leave from a second socket (--reply-from-other-port).
  bool replyFromOtherPort() const { return faults_.replyFromOtherPort(); }

  // What a serial line needs of the printer.
  std::uint32_t lineRate() const { return model_.lineRate(); }
  bool answersAtOnce(const Bytes& raw) const { return model_.answersAtOnce(raw); }
  // Logs bytes that came at another rate than the printer's; never answered.
  void noise(const Bytes& bytes, std::uint32_t toolRate, std::uint32_t printerRate);
  // Logs a line event ("open", "close" or "rate") with its description and
  // the bytes it concerns, if any.
  void lineEvent(const std::string& event, const std::string& decoded, const Bytes& bytes = {});

 private:
  PrinterModel& model_;
  FaultInjector& faults_;
  FrameLog& log_;
};

}  // namespace ombrel::vprinter

#pragma once

// The human-readable log: one line per record, e.g.
//   #1 rx frame cmd=48 first=0 second=0 len=8 head=ok data=[01 02 ...] | identify; identity "OMB80" | reply: sent
//   #2 tx reply bytes=[02 00 30 00 ...] | reply to command 48
//   #3 rx raw bytes=[8D 00] | WiFi off | reply: none
//   #4 rx noise bytes=[02 00 31 ...] | line noise: sent at 9600 bit/s ... | reply: none
//   #5 line rate | printer line rate now 115200 bit/s

#include <ostream>

#include "frame_log.h"

namespace ombrel::vprinter {

class TextLogWriter final : public LogWriter {
 public:
  explicit TextLogWriter(std::ostream& out) : out_(out) {}
  void write(const LogRecord& record) override;

 private:
  std::ostream& out_;
};

}  // namespace ombrel::vprinter

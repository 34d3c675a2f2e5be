#pragma once

// The machine-readable log: one JSON object per line, for tests that assert
// what went over the wire. Fields:
//   all:            "seq", "dir" ("rx", "tx" or "line"), "kind" ("frame",
//                   "raw" or "noise" received, "reply" sent, "open", "close"
//                   or "rate" on the line), "bytes" (upper-case hex
//                   "02 00 30 ...", empty for most line events), "decoded",
//                   "faults" (array of fault names)
//   rx frames also: "command", "first", "second", "length" (declared data
//                   length), "data" (hex of the data that came), "head_ok",
//                   "data_check" ("absent", "ok" or "wrong")
//   rx units also:  "reply" ("sent", "none" or "withheld")
// Texts are escaped to plain ASCII.

#include <ostream>
#include <string>
#include <string_view>

#include "frame_log.h"

namespace ombrel::vprinter {

// `text` as a JSON string literal, quotes included.
std::string jsonString(std::string_view text);

class JsonLogWriter final : public LogWriter {
 public:
  explicit JsonLogWriter(std::ostream& out) : out_(out) {}
  void write(const LogRecord& record) override;

 private:
  std::ostream& out_;
};

}  // namespace ombrel::vprinter

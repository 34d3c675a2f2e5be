#pragma once

// The log of everything the virtual printer receives (and the replies it
// actually sends): one record per unit, numbered in order, handed to every
// attached writer.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frame_fields.h"
#include "platform/bytes.h"

namespace ombrel::vprinter {

// Line records tell what happened on a serial line besides bytes: the tool
// opened or closed its port, the printer moved to another rate.
enum class Direction { Received, Sent, Line };

// What became of the reply to a received unit.
enum class ReplyFate { None, Sent, Withheld };

struct LogRecord {
  std::uint64_t seq = 0;
  Direction direction = Direction::Received;
  // Received bytes that came at another rate than the printer's: line noise.
  bool noise = false;
  std::string lineEvent;             // line records: "open", "close" or "rate"
  Bytes bytes;                       // exactly as received or sent
  std::optional<FrameFields> frame;  // received frames only
  std::string decoded;
  ReplyFate reply = ReplyFate::None;  // received units only
  std::vector<std::string> faults;
};

class LogWriter {
 public:
  virtual ~LogWriter() = default;
  // Writes one line and flushes it, so a reader sees each unit at once.
  virtual void write(const LogRecord& record) = 0;
};

class FrameLog {
 public:
  void attach(std::unique_ptr<LogWriter> writer);
  // Numbers the record (from 1) and writes it everywhere.
  void record(LogRecord record);

 private:
  std::vector<std::unique_ptr<LogWriter>> writers_;
  std::uint64_t seq_ = 0;
};

}  // namespace ombrel::vprinter

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

enum class Direction { Received, Sent };

// What became of the reply to a received unit.
enum class ReplyFate { None, Sent, Withheld };

struct LogRecord {
  std::uint64_t seq = 0;
  Direction direction = Direction::Received;
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

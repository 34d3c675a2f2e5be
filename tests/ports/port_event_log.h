#pragma once

// Records what a TComm's events deliver, for tests to wait on and inspect.
// Every record also notes whether the event ran on the owner thread.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

#include "platform/bytes.h"
#include "platform/event_loop_thread.h"
#include "ports/serial/tcomm.h"

namespace ombrel::test {

struct ReceivedChunk {
  Bytes bytes;
  std::chrono::steady_clock::time_point at;
};

struct PortEvents {
  std::vector<ReceivedChunk> chunks;
  int sendEmpty = 0;
  int hangups = 0;
  bool offOwnerThread = false;     // an event ran elsewhere
  bool unterminatedChunk = false;  // a chunk lacked its trailing zero byte

  Bytes received() const;
};

class PortEventLog {
 public:
  explicit PortEventLog(const EventLoopThread& loop) : loop_(loop) {}
  // Assigns the events of `comm` to this log.
  void attach(TComm& comm);

  PortEvents snapshot() const;
  // Waits until `done` holds for the events, at most `timeout`; true if it did.
  bool waitFor(const std::function<bool(const PortEvents&)>& done,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));

 private:
  void record(const std::function<void(PortEvents&)>& change);

  const EventLoopThread& loop_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  PortEvents events_;
};

}  // namespace ombrel::test

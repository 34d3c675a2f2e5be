#pragma once

// The stop signal of one opened port, shared by its reader and writer: once
// raised it stays raised, and every wait of the port threads ends on it.

#include <atomic>
#include <chrono>
#include <optional>

namespace ombrel {

class StopSignal {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  // Throws std::system_error when the kernel has no event object to spare.
  StopSignal();
  ~StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  void raise();
  bool isRaised() const { return raised_.load(); }

  enum class Wake { Stopped, Ready, TimedOut, Failed };
  struct WaitResult {
    Wake wake;
    short events;  // what `fd` reported when Ready
  };
  // Waits until the signal is raised, `fd` reports one of `events` or a
  // hang-up or error, or `deadline` (none: no limit) passes. The stop signal
  // wins when both happen.
  WaitResult waitFor(int fd, short events, std::optional<TimePoint> deadline) const;

 private:
  int eventFd_;
  std::atomic<bool> raised_{false};
};

}  // namespace ombrel

#pragma once

// Turns SIGINT and SIGTERM into a readable descriptor, so the transport's
// wait loop notices them like any other input and the program ends cleanly.
// Create it before any other thread: it blocks both signals in the caller.

namespace ombrel::vprinter {

class StopSignals {
 public:
  StopSignals();  // throws std::system_error
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  int fd() const { return fd_; }

 private:
  int fd_ = -1;
};

}  // namespace ombrel::vprinter

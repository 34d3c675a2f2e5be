#pragma once

// Notices when the setting tool opens and closes its serial port, that is the
// slave side of the pseudo-terminal. The kernel queues the events, so a port
// that is closed and opened again at once is still seen twice.

#include <string>
#include <vector>

namespace ombrel::vprinter {

enum class PortEvent { Opened, Closed };

class PortWatch {
 public:
  // Throws std::runtime_error with the reason.
  explicit PortWatch(const std::string& slavePath);
  ~PortWatch();
  PortWatch(const PortWatch&) = delete;
  PortWatch& operator=(const PortWatch&) = delete;

  // Readable when events are waiting.
  int fd() const { return fd_; }
  // The events waiting, in the order they happened; empty when none are.
  std::vector<PortEvent> take();

 private:
  int fd_ = -1;
};

}  // namespace ombrel::vprinter

#pragma once

// A printer's boot loader behind a pseudo-terminal: it answers the boot
// handshake byte 0x61 once it has received a given number of them, or
// never.

#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "ports/pty_pair.h"

namespace ombrel::gui_test {

class PtyBootLoader {
 public:
  // `answerAfter`: the handshake byte whose arrival is answered; none: silent.
  explicit PtyBootLoader(std::optional<int> answerAfter);
  ~PtyBootLoader();
  PtyBootLoader(const PtyBootLoader&) = delete;
  PtyBootLoader& operator=(const PtyBootLoader&) = delete;

  const std::string& portPath() const { return pty_.slavePath(); }
  int handshakeBytes() const { return handshakeBytes_; }

 private:
  void serve(std::optional<int> answerAfter);

  test::PtyPair pty_;
  std::atomic<int> handshakeBytes_{0};
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace ombrel::gui_test

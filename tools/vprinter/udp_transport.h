#pragma once

// The virtual printer on the network link: one bound UDP socket; every
// datagram is one received unit, and its reply goes back to the datagram's
// sender as one datagram (from a second socket of its own with
// --reply-from-other-port: another source port; with --reply-from-address:
// another address). Single-threaded: one wait loop serves requests, delayed
// replies and the stop descriptor.

#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "printer_session.h"

namespace ombrel::vprinter {

class UdpTransport {
 public:
  // Binds HOST:PORT (IPv4; port 0 picks a free one), and the second socket
  // to a free port of `replyHost`, or of HOST when it is empty. Throws
  // std::runtime_error with the reason when a socket cannot be bound.
  UdpTransport(const std::string& host, std::uint16_t port, const std::string& replyHost = {});
  ~UdpTransport();
  UdpTransport(const UdpTransport&) = delete;
  UdpTransport& operator=(const UdpTransport&) = delete;

  // The bound address as "HOST:PORT" with the real port.
  std::string boundAddress() const;

  // Serves until `stopFd` becomes readable.
  void serve(PrinterSession& session, Clock& clock, int stopFd);

 private:
  int fd_ = -1;
  int otherFd_ = -1;  // the second socket: another port, or another address
  bool replyFromOther_ = false;
};

}  // namespace ombrel::vprinter

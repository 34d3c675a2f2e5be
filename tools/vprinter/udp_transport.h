#pragma once

// The virtual printer on the network link: one bound UDP socket; every
// datagram is one received unit, and its reply goes back to the datagram's
// sender as one datagram (from a second socket of its own, another source
// port, with --reply-from-other-port). Single-threaded: one wait loop serves requests,
// delayed replies and the stop descriptor.

#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "printer_session.h"

namespace ombrel::vprinter {

class UdpTransport {
 public:
  // Binds HOST:PORT (IPv4; port 0 picks a free one). Throws
  // std::runtime_error with the reason when the socket cannot be bound.
  UdpTransport(const std::string& host, std::uint16_t port);
  ~UdpTransport();
  UdpTransport(const UdpTransport&) = delete;
  UdpTransport& operator=(const UdpTransport&) = delete;

  // The bound address as "HOST:PORT" with the real port.
  std::string boundAddress() const;

  // Serves until `stopFd` becomes readable.
  void serve(PrinterSession& session, Clock& clock, int stopFd);

 private:
  int fd_ = -1;
  int otherFd_ = -1;  // the second socket, bound to another port of the same address
};

}  // namespace ombrel::vprinter

#pragma once

// What the engine needs of the network link: one datagram socket towards the
// printer's address. The UDP client implements it; tests may supply their own.

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/bytes.h"

namespace ombrel {

class UdpPort {
 public:
  virtual ~UdpPort() = default;

  virtual void setRemote(const std::string& host, int port) = 0;
  // Opens the socket towards the remote address.
  virtual void activate() = 0;
  virtual void deactivate() = 0;

  // Sends one datagram; errors are ignored, as the protocol ignores them.
  virtual void send(const std::uint8_t* data, std::size_t count) = 0;
  // Receives one datagram into `out` (at most `capacity` bytes), waiting at
  // most `timeout`. Returns the byte count, 0 when nothing came in time.
  virtual std::size_t receive(Bytes& out, std::size_t capacity, std::chrono::nanoseconds timeout) = 0;
};

}  // namespace ombrel

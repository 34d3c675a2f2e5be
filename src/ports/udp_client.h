#pragma once

// The network link: one UDP socket towards the printer's address. A datagram
// from that address is a reply whatever its source port (a printer may answer
// from another port than the one it listens on); datagrams from any other
// address are dropped.

#include <netinet/in.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "platform/bytes.h"
#include "ports/udp_port.h"

namespace ombrel {

class UdpClient final : public UdpPort {
 public:
  UdpClient() = default;
  ~UdpClient() override;
  UdpClient(const UdpClient&) = delete;
  UdpClient& operator=(const UdpClient&) = delete;

  void setRemote(const std::string& host, int port) override;
  // Opens the socket towards the remote address. A host that cannot be
  // resolved leaves the client active but unable to send; its receives then
  // wait out their time-out, as with a printer that does not answer.
  void activate() override;
  void deactivate() override;

  void send(const std::uint8_t* data, std::size_t count) override;
  std::size_t receive(Bytes& out, std::size_t capacity, std::chrono::nanoseconds timeout) override;

 private:
  // Sets the socket's receive time-out when it differs from the one set;
  // false when it cannot be set.
  bool waitAtMost(std::chrono::milliseconds timeout);

  std::string host_;
  int port_ = 0;
  int fd_ = -1;
  std::chrono::milliseconds receiveTimeout_{};
  bool resolved_ = false;
  sockaddr_in remote_{};
};

}  // namespace ombrel

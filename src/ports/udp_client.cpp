#include "ports/udp_client.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

namespace ombrel {

UdpClient::~UdpClient() { deactivate(); }

void UdpClient::setRemote(const std::string& host, int port) {
  host_ = host;
  port_ = port;
}

namespace {

bool resolveIpv4(const std::string& host, int port, sockaddr_in& address) {
  if (port <= 0 || port > 65535) return false;
  address = sockaddr_in{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) == 1) return true;
  // A host name rather than a dotted address.
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0) return false;
  std::memcpy(&address, found->ai_addr, sizeof address);
  ::freeaddrinfo(found);
  return true;
}

}  // namespace

void UdpClient::activate() {
  deactivate();
  fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return;
  // Not connected: a connected socket would drop the printer's replies that
  // leave from another port than the one it listens on.
  resolved_ = resolveIpv4(host_, port_, remote_);
}

void UdpClient::deactivate() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  resolved_ = false;
  receiveTimeout_ = {};
}

void UdpClient::send(const std::uint8_t* data, std::size_t count) {
  if (fd_ < 0 || !resolved_) return;
  (void)::sendto(fd_, data, count, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&remote_), sizeof remote_);
}

std::size_t UdpClient::receive(Bytes& out, std::size_t capacity, std::chrono::nanoseconds timeout) {
  out.clear();
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  if (fd_ < 0 || !resolved_) {
    std::this_thread::sleep_until(deadline);
    return 0;
  }
  out.resize(capacity);
  for (;;) {
    // A blocking receive under the socket's time-out rather than a poll
    // before it: one system call less for every reply.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    const bool wait = left.count() > 0 && waitAtMost(left);
    sockaddr_in source{};
    socklen_t sourceSize = sizeof source;
    const ssize_t got = ::recvfrom(fd_, out.data(), capacity, wait ? 0 : MSG_DONTWAIT,
                                   reinterpret_cast<sockaddr*>(&source), &sourceSize);
    if (got >= 0 && source.sin_addr.s_addr == remote_.sin_addr.s_addr) {
      out.resize(static_cast<std::size_t>(got));
      return out.size();
    }
    // A datagram from another address is no reply: keep waiting for one
    // until the deadline.
    if (got < 0 && errno != EINTR) break;
    if (std::chrono::steady_clock::now() >= deadline) break;
  }
  out.clear();
  return 0;
}

bool UdpClient::waitAtMost(std::chrono::milliseconds timeout) {
  if (timeout == receiveTimeout_) return true;
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout);
  const timeval limit{static_cast<time_t>(seconds.count()),
                      static_cast<suseconds_t>(std::chrono::microseconds(timeout - seconds).count())};
  if (::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) != 0) return false;
  receiveTimeout_ = timeout;
  return true;
}

}  // namespace ombrel

#include "ports/udp_client.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/time.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace ombrel {

UdpClient::~UdpClient() { deactivate(); }

void UdpClient::setRemote(const std::string& host, int port) {
  host_ = host;
  port_ = port;
}

void UdpClient::activate() {
  deactivate();
  fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return;
  if (port_ <= 0 || port_ > 65535) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port_));
  if (::inet_pton(AF_INET, host_.c_str(), &address.sin_addr) == 1) {
    connected_ = ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    return;
  }
  // A host name rather than a dotted address.
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port_);
  if (::getaddrinfo(host_.c_str(), service.c_str(), &hints, &found) == 0) {
    connected_ = ::connect(fd_, found->ai_addr, found->ai_addrlen) == 0;
    ::freeaddrinfo(found);
  }
}

void UdpClient::deactivate() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  connected_ = false;
  receiveTimeout_ = {};
}

void UdpClient::send(const std::uint8_t* data, std::size_t count) {
  if (fd_ < 0 || !connected_) return;
  (void)::send(fd_, data, count, MSG_NOSIGNAL);
}

std::size_t UdpClient::receive(Bytes& out, std::size_t capacity, std::chrono::nanoseconds timeout) {
  out.clear();
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  if (fd_ < 0 || !connected_) {
    std::this_thread::sleep_until(deadline);
    return 0;
  }
  out.resize(capacity);
  for (;;) {
    // A blocking receive under the socket's time-out rather than a poll
    // before it: one system call less for every reply.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    const bool wait = left.count() > 0 && waitAtMost(left);
    const ssize_t got = ::recv(fd_, out.data(), capacity, wait ? 0 : MSG_DONTWAIT);
    if (got >= 0) {
      out.resize(static_cast<std::size_t>(got));
      return out.size();
    }
    // A refused earlier datagram (nobody listening) is reported on the next
    // receive; it is no answer, so keep waiting for one until the deadline.
    if (errno != ECONNREFUSED && errno != EINTR) break;
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

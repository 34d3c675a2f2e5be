#include "udp_transport.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <stdexcept>
#include <vector>

namespace ombrel::vprinter {

namespace {

// Larger than any UDP datagram, so none is cut short.
constexpr std::size_t kDatagramCapacity = 65536;

struct ScheduledReply {
  sockaddr_in peer;
  OutgoingReply reply;
  std::int64_t dueMs;
};

std::runtime_error socketError(const std::string& what, int error) {
  return std::runtime_error(what + ": " + std::strerror(error));
}

sockaddr_in resolve(const std::string& host, std::uint16_t port) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  const int failed = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
  if (failed != 0) throw std::runtime_error("cannot resolve " + host + ": " + ::gai_strerror(failed));
  sockaddr_in address{};
  std::memcpy(&address, found->ai_addr, sizeof address);
  ::freeaddrinfo(found);
  address.sin_port = htons(port);
  return address;
}

// The time left until `dueMs`, for ppoll.
timespec waitUntil(const Clock& clock, std::int64_t dueMs) {
  const auto left = clock.realDuration(dueMs - clock.nowMs());
  const auto count = left.count();
  return timespec{static_cast<time_t>(count / 1000000000), static_cast<long>(count % 1000000000)};
}

int boundSocket(const std::string& host, std::uint16_t port) {
  const sockaddr_in address = resolve(host, port);
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw socketError("socket", errno);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    const int error = errno;
    ::close(fd);
    throw socketError("cannot bind " + host + ":" + std::to_string(port), error);
  }
  return fd;
}

}  // namespace

UdpTransport::UdpTransport(const std::string& host, std::uint16_t port, const std::string& replyHost)
    : fd_(boundSocket(host, port)), replyFromOther_(!replyHost.empty()) {
  try {
    otherFd_ = boundSocket(replyFromOther_ ? replyHost : host, 0);
  } catch (const std::runtime_error&) {
    ::close(fd_);
    throw;
  }
}

UdpTransport::~UdpTransport() {
  ::close(otherFd_);
  ::close(fd_);
}

std::string UdpTransport::boundAddress() const {
  sockaddr_in address{};
  socklen_t size = sizeof address;
  ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
  char host[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &address.sin_addr, host, sizeof host);
  return std::string(host) + ":" + std::to_string(ntohs(address.sin_port));
}

void UdpTransport::serve(PrinterSession& session, Clock& clock, int stopFd) {
  // The delay is the same for every reply, so replies fall due in the order
  // they were scheduled.
  std::deque<ScheduledReply> scheduled;
  Bytes datagram(kDatagramCapacity);
  for (;;) {
    pollfd waits[2] = {{stopFd, POLLIN, 0}, {fd_, POLLIN, 0}};
    timespec timeout{};
    if (!scheduled.empty()) timeout = waitUntil(clock, scheduled.front().dueMs);
    const int ready = ::ppoll(waits, 2, scheduled.empty() ? nullptr : &timeout, nullptr);
    if (ready < 0 && errno != EINTR) throw socketError("ppoll", errno);
    if (ready > 0 && (waits[0].revents & POLLIN) != 0) return;
    if (ready > 0 && (waits[1].revents & POLLIN) != 0) {
      sockaddr_in peer{};
      socklen_t peerSize = sizeof peer;
      const ssize_t got =
          ::recvfrom(fd_, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&peer), &peerSize);
      if (got >= 0) {
        const Bytes unit(datagram.begin(), datagram.begin() + got);
        if (auto reply = session.receive(unit)) {
          const std::int64_t due = clock.nowMs() + reply->delayMs;
          for (int copy = 1; copy < reply->copies; ++copy) scheduled.push_back(ScheduledReply{peer, *reply, due});
          scheduled.push_back(ScheduledReply{peer, std::move(*reply), due});
        }
      }
    }
    const int replyFd = replyFromOther_ || session.replyFromOtherPort() ? otherFd_ : fd_;
    // Everything due leaves in one call, copies of a reply back to back as
    // a printer sends them, and is logged afterwards.
    std::vector<ScheduledReply> due;
    while (!scheduled.empty() && scheduled.front().dueMs <= clock.nowMs()) {
      due.push_back(std::move(scheduled.front()));
      scheduled.pop_front();
    }
    std::vector<iovec> parts(due.size());
    std::vector<mmsghdr> messages(due.size());
    for (std::size_t i = 0; i < due.size(); ++i) {
      parts[i] = {due[i].reply.bytes.data(), due[i].reply.bytes.size()};
      messages[i].msg_hdr.msg_name = &due[i].peer;
      messages[i].msg_hdr.msg_namelen = sizeof due[i].peer;
      messages[i].msg_hdr.msg_iov = &parts[i];
      messages[i].msg_hdr.msg_iovlen = 1;
    }
    // A reply that cannot be sent is lost, as it would be on a real network.
    const int count = due.empty() ? 0 : ::sendmmsg(replyFd, messages.data(), static_cast<unsigned>(due.size()), 0);
    std::vector<OutgoingReply> sent;
    for (int i = 0; i < count; ++i) sent.push_back(std::move(due[static_cast<std::size_t>(i)].reply));
    for (const OutgoingReply& reply : sent) session.sent(reply);
  }
}

}  // namespace ombrel::vprinter

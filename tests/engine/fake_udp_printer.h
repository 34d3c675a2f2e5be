#pragma once

// A UDP port with a scripted printer behind it: each datagram sent while the
// port is active is answered with one reply datagram, which the next receive
// takes.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ports/udp_port.h"

namespace ombrel::testing_support {

class FakeUdpPrinter final : public UdpPort {
 public:
  void setRemote(const std::string& host, int port) override;
  void activate() override;
  void deactivate() override;
  void send(const std::uint8_t* data, std::size_t count) override;
  std::size_t receive(Bytes& out, std::size_t capacity, std::chrono::nanoseconds timeout) override;

  void ignoreCommand(int command);
  // Answers every frame with `reply` instead of the scripted acknowledgement.
  void answerWith(Bytes reply);
  // Every reply comes twice, the second waiting when the next request leaves.
  void duplicateReplies();

  // "remote HOST:PORT", "activate", "deactivate".
  std::vector<std::string> events() const;
  std::vector<Bytes> datagrams() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable replied_;
  bool active_ = false;
  std::set<int> ignored_;
  std::optional<Bytes> fixedReply_;
  bool duplicate_ = false;
  std::deque<Bytes> replies_;
  std::vector<std::string> events_;
  std::vector<Bytes> datagrams_;
};

}  // namespace ombrel::testing_support

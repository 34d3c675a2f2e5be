#include "fake_udp_printer.h"

#include <algorithm>

#include "scripted_reply.h"

namespace ombrel::testing_support {

void FakeUdpPrinter::setRemote(const std::string& host, int port) {
  std::lock_guard lock(mutex_);
  events_.push_back("remote " + host + ":" + std::to_string(port));
}

void FakeUdpPrinter::activate() {
  std::lock_guard lock(mutex_);
  active_ = true;
  replies_.clear();
  events_.push_back("activate");
}

void FakeUdpPrinter::deactivate() {
  std::lock_guard lock(mutex_);
  if (active_) events_.push_back("deactivate");
  active_ = false;
}

void FakeUdpPrinter::duplicateReplies() {
  std::lock_guard lock(mutex_);
  duplicate_ = true;
}

void FakeUdpPrinter::send(const std::uint8_t* data, std::size_t count) {
  {
    std::lock_guard lock(mutex_);
    if (!active_) return;
    const Bytes sent(data, data + count);
    datagrams_.push_back(sent);
    Bytes reply = fixedReply_ ? *fixedReply_ : scriptedReply(sent, ignored_);
    if (reply.empty()) return;
    if (duplicate_) replies_.push_back(reply);
    replies_.push_back(std::move(reply));
  }
  replied_.notify_all();
}

std::size_t FakeUdpPrinter::receive(Bytes& out, std::size_t capacity, std::chrono::nanoseconds timeout) {
  std::unique_lock lock(mutex_);
  out.clear();
  if (!replied_.wait_for(lock, timeout, [this] { return active_ && !replies_.empty(); })) return 0;
  out = std::move(replies_.front());
  replies_.pop_front();
  out.resize(std::min(out.size(), capacity));
  return out.size();
}

void FakeUdpPrinter::ignoreCommand(int command) {
  std::lock_guard lock(mutex_);
  ignored_.insert(command);
}

void FakeUdpPrinter::answerWith(Bytes reply) {
  std::lock_guard lock(mutex_);
  fixedReply_ = std::move(reply);
}

std::vector<std::string> FakeUdpPrinter::events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

std::vector<Bytes> FakeUdpPrinter::datagrams() const {
  std::lock_guard lock(mutex_);
  return datagrams_;
}

}  // namespace ombrel::testing_support

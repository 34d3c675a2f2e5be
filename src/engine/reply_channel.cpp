#include "engine/reply_channel.h"

#include <algorithm>

#include "protocol/frame.h"

namespace ombrel {

void ReplyChannel::reset() {
  std::lock_guard lock(mutex_);
  assembler_.reset();
  event_ = false;
}

void ReplyChannel::deliver(const std::uint8_t* bytes, std::size_t count) {
  bool complete = false;
  {
    std::lock_guard lock(mutex_);
    complete = assembler_.assemble(bytes, count);
    if (complete) event_ = true;
  }
  if (complete) signalled_.notify_all();
}

void ReplyChannel::deliverRaw(const std::uint8_t* bytes, std::size_t count) {
  std::lock_guard lock(mutex_);
  assembler_.storeRaw(bytes, count);
}

bool ReplyChannel::waitForReply(std::chrono::nanoseconds timeout) {
  std::unique_lock lock(mutex_);
  return signalled_.wait_for(lock, timeout, [this] { return event_; });
}

Bytes ReplyChannel::replyData() const {
  std::lock_guard lock(mutex_);
  const auto& buffer = assembler_.buffer();
  const auto begin = buffer.begin() + frame::kHeadSize;
  return Bytes(begin, begin + static_cast<std::ptrdiff_t>(assembler_.length()));
}

Bytes ReplyChannel::replyHead() const {
  std::lock_guard lock(mutex_);
  const auto& buffer = assembler_.buffer();
  return Bytes(buffer.begin(), buffer.begin() + frame::kHeadSize);
}

std::size_t ReplyChannel::replyLength() const {
  std::lock_guard lock(mutex_);
  return assembler_.length();
}

std::uint8_t ReplyChannel::firstByte() const {
  std::lock_guard lock(mutex_);
  return assembler_.buffer()[0];
}

void ReplyChannel::clearBuffer() {
  std::lock_guard lock(mutex_);
  auto& buffer = assembler_.buffer();
  std::fill(buffer.begin(), buffer.end() - 1, std::uint8_t{0xFF});
}

}  // namespace ombrel

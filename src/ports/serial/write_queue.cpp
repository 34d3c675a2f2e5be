#include "ports/serial/write_queue.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace ombrel {

WriteQueue::WriteQueue(std::atomic<bool>& sendQueueEmpty)
    : sendQueueEmpty_(sendQueueEmpty), readyFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (readyFd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

WriteQueue::~WriteQueue() { ::close(readyFd_); }

bool WriteQueue::push(Bytes block) {
  {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    blocks_.push_back(std::move(block));
    sendQueueEmpty_.store(false);
  }
  const std::uint64_t one = 1;
  (void)::write(readyFd_, &one, sizeof one);
  return true;
}

std::optional<Bytes> WriteQueue::take() {
  std::lock_guard lock(mutex_);
  if (blocks_.empty()) {
    sendQueueEmpty_.store(true);
    return std::nullopt;
  }
  Bytes block = std::move(blocks_.front());
  blocks_.pop_front();
  return block;
}

void WriteQueue::close() {
  std::lock_guard lock(mutex_);
  closed_ = true;
  blocks_.clear();
  sendQueueEmpty_.store(true);
}

void WriteQueue::clearReady() {
  std::uint64_t count = 0;
  (void)::read(readyFd_, &count, sizeof count);
}

}  // namespace ombrel

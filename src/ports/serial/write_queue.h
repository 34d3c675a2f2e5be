#pragma once

// The writer thread's queue of write requests. Each request is a private copy
// of the caller's bytes; the queue also keeps the owner's SendQueueEmpty
// flag, so that the flag and the queue never disagree.

#include <atomic>
#include <deque>
#include <mutex>
#include <optional>

#include "platform/bytes.h"

namespace ombrel {

class WriteQueue {
 public:
  // Throws std::system_error when the kernel has no event object to spare.
  explicit WriteQueue(std::atomic<bool>& sendQueueEmpty);
  ~WriteQueue();
  WriteQueue(const WriteQueue&) = delete;
  WriteQueue& operator=(const WriteQueue&) = delete;

  // False once the writer has ended.
  bool push(Bytes block);
  // The oldest request; nothing (and SendQueueEmpty set) when none waits.
  std::optional<Bytes> take();
  // The writer has ended: requests still queued are dropped, new ones refused.
  void close();

  // Readable after a push; the writer waits on it and then calls clearReady.
  int readyFd() const { return readyFd_; }
  void clearReady();

 private:
  std::atomic<bool>& sendQueueEmpty_;
  int readyFd_;
  std::mutex mutex_;
  std::deque<Bytes> blocks_;
  bool closed_ = false;
};

}  // namespace ombrel

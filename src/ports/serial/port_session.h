#pragma once

// One opened port and its two threads: what OpenPort builds and ClosePort
// takes down. The reader and writer share only what is here, and only
// through guarded members; the device and the stop signal outlive both
// threads, which the destructor joins.

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

#include "ports/serial/notice_sink.h"
#include "ports/serial/serial_device_linux.h"
#include "ports/serial/serial_settings.h"
#include "ports/serial/stop_signal.h"
#include "ports/serial/write_queue.h"

namespace ombrel {

// The time-outs the reader follows; the owner may change them while it runs.
class SharedTimeouts {
 public:
  explicit SharedTimeouts(const CommTimeouts& timeouts) : timeouts_(timeouts) {}
  CommTimeouts get() const;
  void set(const CommTimeouts& timeouts);

 private:
  mutable std::mutex mutex_;
  CommTimeouts timeouts_;
};

class PortSession {
 public:
  // Starts the reader, then the writer. Raises ECommsError ("Unable to create
  // event", "Unable to create read thread", "Unable to create write thread")
  // with nothing left running.
  PortSession(SerialDevice device, std::shared_ptr<NoticeSink> sink, std::atomic<bool>& sendQueueEmpty,
              const CommTimeouts& timeouts);
  // Raises the stop signal, discards what the driver holds and waits for
  // both threads to end.
  ~PortSession();
  PortSession(const PortSession&) = delete;
  PortSession& operator=(const PortSession&) = delete;

  // A port thread failed: tell the owner. Nothing is left to tell if even
  // that notice cannot be posted.
  void reportHangup() noexcept;

  const SerialDevice device;
  const std::shared_ptr<NoticeSink> sink;
  SharedTimeouts timeouts;
  StopSignal stop;
  WriteQueue queue;

 private:
  void stopThreads();

  std::atomic<bool>& sendQueueEmpty_;
  std::thread reader_;
  std::thread writer_;
};

}  // namespace ombrel

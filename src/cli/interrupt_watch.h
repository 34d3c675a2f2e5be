#pragma once

// Ctrl-C (SIGINT) and SIGTERM for ombrelctl: the signals are blocked in every
// thread and taken by one thread of their own, which calls a handler there,
// so the handler may lock and call the engine like any other code. Create it
// before any other thread, so that they all inherit the blocked signals.

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace ombrel::cli {

class InterruptWatch {
 public:
  InterruptWatch();
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  // Called on the watch's thread for every signal; replaced or cleared
  // (nullptr) at any time.
  void setHandler(std::function<void()> handler);
  bool interrupted() const { return interrupted_; }

 private:
  void run();

  std::mutex mutex_;
  std::function<void()> handler_;
  std::atomic<bool> interrupted_{false};
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace ombrel::cli

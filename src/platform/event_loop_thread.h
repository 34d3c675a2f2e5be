#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/owner_thread.h"

namespace ombrel {

// An owner thread with a queue of its own, for front ends without a GUI.
// Work runs in the order it was posted or sent.
class EventLoopThread final : public OwnerThread {
 public:
  EventLoopThread();
  ~EventLoopThread() override;
  EventLoopThread(const EventLoopThread&) = delete;
  EventLoopThread& operator=(const EventLoopThread&) = delete;

  void post(std::function<void()> work) override;
  void send(std::function<void()> work) override;
  bool isOwnerThread() const { return std::this_thread::get_id() == thread_.get_id(); }

 private:
  void run();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> queue_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace ombrel

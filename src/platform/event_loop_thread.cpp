#include "platform/event_loop_thread.h"

#include <future>

namespace ombrel {

EventLoopThread::EventLoopThread() : thread_([this] { run(); }) {}

EventLoopThread::~EventLoopThread() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void EventLoopThread::post(std::function<void()> work) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(work));
  }
  wake_.notify_one();
}

void EventLoopThread::send(std::function<void()> work) {
  if (isOwnerThread()) {
    work();
    return;
  }
  std::promise<void> done;
  auto finished = done.get_future();
  post([&work, &done] {
    work();
    done.set_value();
  });
  finished.wait();
}

void EventLoopThread::run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (queue_.empty()) return;  // stopping, and everything queued has run
    auto work = std::move(queue_.front());
    queue_.pop_front();
    lock.unlock();
    work();
    lock.lock();
  }
}

}  // namespace ombrel

#pragma once

// Work that may wait on the network (a line's server slow to answer, a host
// that drops packets) runs on a thread of its own, so that the window never
// freezes; its result comes back on the owner's thread, unless the window
// that asked has gone by then. The thread is detached: a program that ends
// while it still waits does not wait for it, and what it brings back later
// is dropped.

#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/owner_thread.h"

namespace ombrel::app {

class BackgroundWork {
 public:
  // `owner` outlives this object.
  explicit BackgroundWork(OwnerThread& owner) : owner_(owner), shared_(std::make_shared<Shared>()) {}
  // Results still to come are dropped.
  ~BackgroundWork() {
    const std::lock_guard lock(shared_->mutex);
    shared_->gone = true;
  }
  BackgroundWork(const BackgroundWork&) = delete;
  BackgroundWork& operator=(const BackgroundWork&) = delete;

  // Runs `work` (copies of what it needs, never raising) on a thread of its
  // own, then `done` with its result on the owner's thread.
  template <typename Work, typename Done>
  void run(Work work, Done done) {
    std::thread([&owner = owner_, shared = shared_, work = std::move(work), done = std::move(done)] {
      auto result = work();
      // Held while posting: the owner lives as long as this object has not gone.
      const std::lock_guard lock(shared->mutex);
      if (shared->gone) return;
      owner.post([shared, done, result = std::move(result)] {
        {
          const std::lock_guard check(shared->mutex);
          if (shared->gone) return;
        }
        done(result);
      });
    }).detach();
  }

 private:
  struct Shared {
    std::mutex mutex;
    bool gone = false;
  };
  OwnerThread& owner_;
  std::shared_ptr<Shared> shared_;
};

}  // namespace ombrel::app

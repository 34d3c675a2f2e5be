#pragma once

// The owner's thread of the desktop program: work from the engine and the
// ports runs on the Qt main thread, in the order it was posted or sent.

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include <QObject>

#include "platform/owner_thread.h"

namespace ombrel::app {

class QtOwnerThread final : public OwnerThread {
 public:
  // Create it on the thread that runs the Qt event loop.
  QtOwnerThread();
  ~QtOwnerThread() override;
  QtOwnerThread(const QtOwnerThread&) = delete;
  QtOwnerThread& operator=(const QtOwnerThread&) = delete;

  void post(std::function<void()> work) override;
  void send(std::function<void()> work) override;

  // From here on nothing runs any more: work still queued is dropped and a
  // worker waiting in send() returns. Call it before the workers are
  // stopped, so none of them can wait for a main thread that no longer
  // listens.
  void shutdown();

 private:
  struct Shared {
    std::mutex mutex;
    std::condition_variable done;
    bool closed = false;
  };
  bool onOwnerThread() const;
  // Queues `work` unless shut down; false when it was dropped.
  bool enqueue(std::function<void()> work);

  std::shared_ptr<Shared> shared_;
  QObject context_;  // lives on the main thread; queued work is delivered to it
};

}  // namespace ombrel::app

#pragma once

#include <functional>

namespace ombrel {

// The thread that owns a front end (the GUI's main thread, or the event loop
// of the command line and the tests). Workers never touch the front end
// directly: they post work to it, or send it and wait until it has run.
class OwnerThread {
 public:
  virtual ~OwnerThread() = default;
  // Queues `work` to run on the owner's thread and returns at once.
  virtual void post(std::function<void()> work) = 0;
  // Runs `work` on the owner's thread and returns after it has run. Called on
  // the owner's thread itself, it runs `work` at once.
  virtual void send(std::function<void()> work) = 0;
};

}  // namespace ombrel

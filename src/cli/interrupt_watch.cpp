#include "cli/interrupt_watch.h"

#include <pthread.h>
#include <signal.h>

#include <ctime>

namespace ombrel::cli {

namespace {
// How often the watch looks whether it should end.
constexpr long kPollNanoseconds = 100'000'000;

sigset_t watchedSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}
}  // namespace

InterruptWatch::InterruptWatch() {
  const sigset_t signals = watchedSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  thread_ = std::thread([this] { run(); });
}

InterruptWatch::~InterruptWatch() {
  stopping_ = true;
  thread_.join();
}

void InterruptWatch::setHandler(std::function<void()> handler) {
  std::lock_guard lock(mutex_);
  handler_ = std::move(handler);
}

void InterruptWatch::run() {
  const sigset_t signals = watchedSignals();
  const timespec poll{0, kPollNanoseconds};
  while (!stopping_) {
    if (sigtimedwait(&signals, nullptr, &poll) < 0) continue;
    interrupted_ = true;
    std::lock_guard lock(mutex_);
    if (handler_) handler_();
  }
}

}  // namespace ombrel::cli

#include "ports/serial/stop_signal.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <system_error>

namespace ombrel {

StopSignal::StopSignal() : eventFd_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (eventFd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

StopSignal::~StopSignal() { ::close(eventFd_); }

void StopSignal::raise() {
  raised_.store(true);
  const std::uint64_t one = 1;
  // The counter only has to be non-zero; it cannot overflow with one raise.
  (void)::write(eventFd_, &one, sizeof one);
}

StopSignal::WaitResult StopSignal::waitFor(int fd, short events, std::optional<TimePoint> deadline) const {
  pollfd watched[2] = {{eventFd_, POLLIN, 0}, {fd, events, 0}};
  for (;;) {
    timespec limit{};
    if (deadline) {
      const auto left =
          std::max(*deadline - std::chrono::steady_clock::now(), std::chrono::steady_clock::duration::zero());
      const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
      limit.tv_sec = static_cast<time_t>(seconds.count());
      limit.tv_nsec = static_cast<long>(std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds).count());
    }
    const int ready = ::ppoll(watched, 2, deadline ? &limit : nullptr, nullptr);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return {Wake::Failed, 0};
    if (watched[0].revents != 0) return {Wake::Stopped, 0};
    if (ready == 0) return {Wake::TimedOut, 0};
    return {Wake::Ready, watched[1].revents};
  }
}

}  // namespace ombrel

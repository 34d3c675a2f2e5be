#include "port_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace ombrel::vprinter {

PortWatch::PortWatch(const std::string& slavePath) {
  fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0) throw std::runtime_error(std::string("inotify_init1: ") + std::strerror(errno));
  if (::inotify_add_watch(fd_, slavePath.c_str(), IN_OPEN | IN_CLOSE) < 0) {
    const std::string reason = std::strerror(errno);
    ::close(fd_);
    throw std::runtime_error("cannot watch " + slavePath + ": " + reason);
  }
}

PortWatch::~PortWatch() { ::close(fd_); }

std::vector<PortEvent> PortWatch::take() {
  std::vector<PortEvent> events;
  alignas(inotify_event) char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(fd_, buffer, sizeof buffer);
    if (got <= 0) return events;
    for (ssize_t at = 0; at < got;) {
      inotify_event event{};
      std::memcpy(&event, buffer + at, sizeof event);
      if ((event.mask & IN_OPEN) != 0) events.push_back(PortEvent::Opened);
      if ((event.mask & IN_CLOSE) != 0) events.push_back(PortEvent::Closed);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event.len);
    }
  }
}

}  // namespace ombrel::vprinter

#include "pty_pair.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace ombrel::test {

PtyPair::PtyPair() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) throw std::runtime_error("no pty");
  slavePath_ = ::ptsname(master_);
}

PtyPair::~PtyPair() { closeMaster(); }

void PtyPair::write(const Bytes& bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t done = ::write(master_, bytes.data() + written, bytes.size() - written);
    if (done > 0) {
      written += static_cast<std::size_t>(done);
    } else if (errno == EAGAIN || errno == EINTR) {
      pollfd waitFor{master_, POLLOUT, 0};
      (void)::poll(&waitFor, 1, 100);
    } else {
      throw std::runtime_error("pty master write failed");
    }
  }
}

Bytes PtyPair::read(std::size_t count, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  Bytes got;
  while (got.size() < count) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd waitFor{master_, POLLIN, 0};
    if (::poll(&waitFor, 1, static_cast<int>(left.count())) <= 0) continue;
    std::uint8_t buffer[4096];
    const ssize_t done = ::read(master_, buffer, std::min(sizeof buffer, count - got.size()));
    if (done > 0) got.insert(got.end(), buffer, buffer + done);
  }
  return got;
}

void PtyPair::closeMaster() {
  if (master_ >= 0) ::close(master_);
  master_ = -1;
}

bool isExclusive(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("cannot open " + path);
  int exclusive = 0;
  const int result = ::ioctl(fd, TIOCGEXCL, &exclusive);
  ::close(fd);
  if (result != 0) throw std::runtime_error("TIOCGEXCL failed");
  return exclusive != 0;
}

}  // namespace ombrel::test

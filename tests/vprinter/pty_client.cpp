// termios2 (rates such as 14400) lives in <asm/termbits.h>, which clashes
// with glibc's <termios.h>: this file is the only test file that uses it.
#include "pty_client.h"

#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <stdexcept>

namespace ombrel::vprinter {

PtyClient::PtyClient(const std::string& path, std::uint32_t rate)
    : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
  if (fd_ < 0) throw std::runtime_error("cannot open " + path);
  setRate(rate);
}

PtyClient::~PtyClient() { ::close(fd_); }

void PtyClient::setRate(std::uint32_t rate) {
  termios2 line{};
  if (::ioctl(fd_, TCGETS2, &line) != 0) throw std::runtime_error("TCGETS2 failed");
  line.c_iflag = 0;
  line.c_oflag = 0;
  line.c_lflag = 0;
  line.c_cflag = BOTHER | CS8 | CREAD | CLOCAL;
  line.c_ospeed = rate;
  line.c_ispeed = rate;
  if (::ioctl(fd_, TCSETS2, &line) != 0) throw std::runtime_error("TCSETS2 failed");
}

void PtyClient::write(const Bytes& bytes) {
  if (::write(fd_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    throw std::runtime_error("short write to the pseudo-terminal");
  }
}

std::vector<TimedByte> PtyClient::read(std::size_t count, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::vector<TimedByte> got;
  while (got.size() < count) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd waitFor{fd_, POLLIN, 0};
    if (::poll(&waitFor, 1, static_cast<int>(left.count())) <= 0) continue;
    std::uint8_t buffer[256];
    const ssize_t done = ::read(fd_, buffer, sizeof buffer);
    const auto now = std::chrono::steady_clock::now();
    for (ssize_t i = 0; i < done; ++i) got.push_back(TimedByte{buffer[i], now});
  }
  return got;
}

Bytes receivedBytes(const std::vector<TimedByte>& received) {
  Bytes bytes;
  for (const TimedByte& timed : received) bytes.push_back(timed.byte);
  return bytes;
}

}  // namespace ombrel::vprinter

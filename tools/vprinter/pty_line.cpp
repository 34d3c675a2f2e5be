// termios2 (the exact rate, including ones outside the standard list) lives
// in <asm/termbits.h>, which clashes with glibc's <termios.h>: this file is
// the only one that uses it, and nothing here may pull in <termios.h>.
#include "pty_line.h"

#include <asm/termbits.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace ombrel::vprinter {

namespace {

constexpr std::size_t kReadChunk = 4096;
constexpr int kWriteRoomWaitMs = 1000;

std::runtime_error ptyError(const char* what) {
  return std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

}  // namespace

PtyLine::PtyLine() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0) throw ptyError("posix_openpt");
  if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
    const std::runtime_error error = ptyError("cannot unlock the pseudo-terminal");
    ::close(master_);
    throw error;
  }
  char path[64] = {};
  if (::ptsname_r(master_, path, sizeof path) != 0) {
    const std::runtime_error error = ptyError("ptsname");
    ::close(master_);
    throw error;
  }
  slavePath_ = path;
  // Settings asked for on the master apply to the slave: a fresh slave
  // echoes and edits lines, which would send the printer's own replies back
  // to it before the tool has opened the port.
  termios2 line{};
  if (::ioctl(master_, TCGETS2, &line) == 0) {
    line.c_iflag = 0;
    line.c_oflag = 0;
    line.c_lflag = 0;
    (void)::ioctl(master_, TCSETS2, &line);
  }
}

PtyLine::~PtyLine() { ::close(master_); }

std::uint32_t PtyLine::toolRate() const {
  termios2 line{};
  if (::ioctl(master_, TCGETS2, &line) != 0) return 0;
  return line.c_ospeed;
}

Bytes PtyLine::readAvailable() {
  Bytes bytes(kReadChunk);
  const ssize_t got = ::read(master_, bytes.data(), bytes.size());
  bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return bytes;
}

bool PtyLine::writeAll(const Bytes& bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t done = ::write(master_, bytes.data() + written, bytes.size() - written);
    if (done > 0) {
      written += static_cast<std::size_t>(done);
    } else if (done < 0 && errno == EAGAIN) {
      pollfd room{master_, POLLOUT, 0};
      if (::poll(&room, 1, kWriteRoomWaitMs) <= 0 || (room.revents & POLLOUT) == 0) return false;
    } else if (done < 0 && errno != EINTR) {
      return false;
    }
  }
  return true;
}

}  // namespace ombrel::vprinter

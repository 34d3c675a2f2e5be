#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <utility>

#include "ports/usb/usb_printer_node.h"

namespace ombrel {

std::optional<UsbPrinterNode> UsbPrinterNode::open(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  UsbPrinterNode node(fd);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return std::nullopt;
  termios line{};
  if (::tcgetattr(fd, &line) == 0) {
    ::cfmakeraw(&line);
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 0;
    (void)::tcsetattr(fd, TCSANOW, &line);
  }
  return node;
}

UsbPrinterNode::UsbPrinterNode(UsbPrinterNode&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

UsbPrinterNode::~UsbPrinterNode() {
  if (fd_ >= 0) ::close(fd_);
}

void UsbPrinterNode::purgeInput() const { (void)::tcflush(fd_, TCIFLUSH); }
void UsbPrinterNode::purgeOutput() const { (void)::tcflush(fd_, TCOFLUSH); }

void UsbPrinterNode::setOutXonXoff(bool on) const {
  termios line{};
  if (::tcgetattr(fd_, &line) != 0) return;
  if (on) {
    line.c_iflag |= IXON;
  } else {
    line.c_iflag &= ~static_cast<tcflag_t>(IXON);
  }
  (void)::tcsetattr(fd_, TCSANOW, &line);
}

}  // namespace ombrel

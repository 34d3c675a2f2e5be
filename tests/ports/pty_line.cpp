// termios2, the only way to see a rate such as 14400, lives in
// <asm/termbits.h>, which clashes with glibc's <termios.h>: keep it here.
#include "pty_line.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <stdexcept>

namespace ombrel::test {
namespace {

termios2 readTermios(int fd) {
  termios2 line{};
  if (::ioctl(fd, TCGETS2, &line) != 0) throw std::runtime_error("TCGETS2 failed");
  return line;
}

}  // namespace

PtyLine readPtyLine(int masterFd) {
  const termios2 line = readTermios(masterFd);
  PtyLine view;
  view.outputRate = line.c_ospeed;
  view.inputRate = line.c_ispeed;
  view.twoStopBits = (line.c_cflag & CSTOPB) != 0;
  view.oddParity = (line.c_cflag & PARODD) != 0;
  view.rtsCtsHandshake = (line.c_cflag & CRTSCTS) != 0;
  view.xonXoffOutput = (line.c_iflag & IXON) != 0;
  view.xonXoffInput = (line.c_iflag & IXOFF) != 0;
  view.raw = (line.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)) == 0 && (line.c_oflag & OPOST) == 0 &&
             (line.c_iflag & (ICRNL | INLCR | IGNCR)) == 0;
  view.xonChar = line.c_cc[VSTART];
  view.xoffChar = line.c_cc[VSTOP];
  return view;
}

void setPtyRate(int masterFd, std::uint32_t rate) {
  termios2 line = readTermios(masterFd);
  line.c_cflag = (line.c_cflag & ~CBAUD) | BOTHER;
  line.c_ospeed = rate;
  line.c_ispeed = rate;
  if (::ioctl(masterFd, TCSETS2, &line) != 0) throw std::runtime_error("TCSETS2 failed");
}

}  // namespace ombrel::test

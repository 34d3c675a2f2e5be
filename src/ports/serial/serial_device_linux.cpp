// The kernel's termios2 (any rate through BOTHER) lives in <asm/termbits.h>,
// which cannot be included together with glibc's <termios.h>: this is the one
// file that uses it, and nothing here may pull in <termios.h>.
#include "ports/serial/serial_device_linux.h"

#include <asm/termbits.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "platform/errors.h"
#include "ports/serial/comm_error_text.h"

namespace ombrel {
namespace {

tcflag_t byteSizeFlag(TByteSize size) {
  switch (size) {
    case TByteSize::_5:
      return CS5;
    case TByteSize::_6:
      return CS6;
    case TByteSize::_7:
      return CS7;
    case TByteSize::_8:
      return CS8;
  }
  return CS8;
}

tcflag_t parityFlags(TParity parity) {
  switch (parity) {
    case TParity::None:
      return 0;
    case TParity::Odd:
      return PARENB | PARODD;
    case TParity::Even:
      return PARENB;
    case TParity::Mark:
      return PARENB | PARODD | CMSPAR;
    case TParity::Space:
      return PARENB | CMSPAR;
  }
  return 0;
}

// Raw, binary line: every flag is rebuilt from nothing, so nothing left over
// from an earlier user of the port (echo, line editing, CR/LF mapping)
// survives.
void fillTermios(termios2& line, const LineSettings& settings) {
  line.c_cflag = BOTHER | CREAD | CLOCAL | byteSizeFlag(settings.byteSize) | parityFlags(settings.parity);
  // With five data bits a UART sends one and a half stop bits for CSTOPB.
  if (settings.stopBits != TStopBits::_1) line.c_cflag |= CSTOPB;
  // The kernel's RTS/CTS handshake works both ways at once.
  if (settings.outx_CtsFlow || settings.rtsControl == TRtsControl::RtsHandshake) line.c_cflag |= CRTSCTS;
  line.c_ospeed = settings.baudRate;
  line.c_ispeed = settings.baudRate;

  // A break is reported as a line error, not as a zero byte in the data.
  line.c_iflag = IGNBRK;
  if (settings.outx_XonXoffFlow) line.c_iflag |= IXON;
  if (settings.inx_XonXoffFlow) line.c_iflag |= IXOFF;
  // Checked input makes the driver deliver a byte with a parity error as a
  // zero byte: the one replacement a terminal can do.
  if (settings.parityCheck && settings.replaceWhenParityError) line.c_iflag |= INPCK;
  line.c_oflag = 0;
  line.c_lflag = 0;
  line.c_cc[VSTART] = settings.xonChar;
  line.c_cc[VSTOP] = settings.xoffChar;
  // The reader waits with poll and reads without blocking.
  line.c_cc[VMIN] = 1;
  line.c_cc[VTIME] = 0;
}

void setModemLine(int fd, int line, bool on) { (void)::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line); }

}  // namespace

SerialDevice SerialDevice::open(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw ECommsError(comm_error_text::kOpenFailed);
  SerialDevice device(fd);
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISCHR(status.st_mode) || !::isatty(fd)) {
    throw ECommsError(comm_error_text::kNotCommHandle);
  }
  // TIOCEXCL keeps other programs out but not a privileged one, nor another
  // component of this process; the lock keeps every user of it out.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
    throw ECommsError(comm_error_text::kOpenFailed);
  }
  device.markedExclusive_ = true;
  termios2 line{};
  if (::ioctl(fd, TCGETS2, &line) != 0) throw ECommsError(comm_error_text::kBufferSetupFailed);
  return device;
}

SerialDevice::SerialDevice(SerialDevice&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), markedExclusive_(std::exchange(other.markedExclusive_, false)) {}

SerialDevice::~SerialDevice() {
  if (fd_ < 0) return;
  // The exclusive mark belongs to the terminal, not to this descriptor: a
  // pseudo-terminal would keep it after the close and refuse the next user.
  if (markedExclusive_) (void)::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
}

void SerialDevice::applyLineSettings(const LineSettings& settings) const {
  termios2 line{};
  if (::ioctl(fd_, TCGETS2, &line) != 0) return;
  fillTermios(line, settings);
  (void)::ioctl(fd_, TCSETS2, &line);
  // Under the handshake the driver drives RTS itself. No terminal driver
  // offers a DTR handshake or RTS only while sending: the line is held on.
  if (settings.rtsControl != TRtsControl::RtsHandshake) {
    setModemLine(fd_, TIOCM_RTS, settings.rtsControl != TRtsControl::RtsDisable);
  }
  setModemLine(fd_, TIOCM_DTR, settings.dtrControl != TDtrControl::DtrDisable);
}

void SerialDevice::purge(Purge what) const {
  const int queue = what == Purge::Input ? TCIFLUSH : what == Purge::Output ? TCOFLUSH : TCIOFLUSH;
  (void)::ioctl(fd_, TCFLSH, queue);
}

bool SerialDevice::outputPending() const {
  int queued = 0;
  if (::ioctl(fd_, TIOCOUTQ, &queued) == 0 && queued > 0) return true;
  // A UART's last bytes sit in its transmitter after the buffer is empty.
  unsigned int lineStatus = 0;
  if (::ioctl(fd_, TIOCSERGETLSR, &lineStatus) == 0) return (lineStatus & TIOCSER_TEMT) == 0;
  return false;
}

std::optional<LineCounters> SerialDevice::lineCounters() const {
  serial_icounter_struct counts{};
  if (::ioctl(fd_, TIOCGICOUNT, &counts) != 0) return std::nullopt;
  const auto count = [](int value) { return static_cast<std::uint32_t>(value); };
  LineCounters counters;
  counters.carrierChanges = count(counts.dcd);
  counters.rings = count(counts.rng);
  counters.frameErrors = count(counts.frame);
  counters.overruns = count(counts.overrun);
  counters.parityErrors = count(counts.parity);
  counters.breaks = count(counts.brk);
  counters.bufferOverruns = count(counts.buf_overrun);
  return counters;
}

}  // namespace ombrel

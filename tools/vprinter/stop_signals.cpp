#include "stop_signals.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace ombrel::vprinter {

StopSignals::StopSignals() {
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGINT);
  sigaddset(&stops, SIGTERM);
  if (sigprocmask(SIG_BLOCK, &stops, nullptr) != 0)
    throw std::system_error(errno, std::system_category(), "sigprocmask");
  fd_ = signalfd(-1, &stops, SFD_CLOEXEC);
  if (fd_ < 0) throw std::system_error(errno, std::system_category(), "signalfd");
}

StopSignals::~StopSignals() { ::close(fd_); }

}  // namespace ombrel::vprinter

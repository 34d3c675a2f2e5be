#include "ports/serial/serial_writer.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <exception>

#include "ports/serial/port_session.h"

namespace ombrel {
namespace {

enum class Ending { Stopped, Failed };

// Writes all of `block`; an ending when it could not.
std::optional<Ending> writeBlock(PortSession& session, const Bytes& block) {
  std::size_t written = 0;
  while (written < block.size()) {
    const ssize_t done = ::write(session.device.fd(), block.data() + written, block.size() - written);
    if (done > 0) {
      written += static_cast<std::size_t>(done);
      continue;
    }
    if (done < 0 && errno == EINTR) continue;
    if (done < 0 && errno == EAGAIN) {
      // The driver's buffer is full (slow line, or flow control holding it).
      const auto waited = session.stop.waitFor(session.device.fd(), POLLOUT, std::nullopt);
      if (waited.wake == StopSignal::Wake::Stopped) return Ending::Stopped;
      if (waited.wake == StopSignal::Wake::Ready && (waited.events & (POLLHUP | POLLERR | POLLNVAL)) == 0) continue;
    }
    return Ending::Failed;
  }
  return std::nullopt;
}

Ending writeQueued(PortSession& session) {
  bool announce = true;
  for (;;) {
    std::optional<Bytes> block = session.queue.take();
    if (!block) {
      if (announce) session.sink->postSendEmpty();
      announce = false;
      const auto waited = session.stop.waitFor(session.queue.readyFd(), POLLIN, std::nullopt);
      if (waited.wake == StopSignal::Wake::Stopped) return Ending::Stopped;
      if (waited.wake != StopSignal::Wake::Ready) return Ending::Failed;
      session.queue.clearReady();
      continue;
    }
    if (session.stop.isRaised()) return Ending::Stopped;
    if (const auto ending = writeBlock(session, *block)) return *ending;
    announce = true;
  }
}

}  // namespace

void runWriter(PortSession& session) {
  Ending ending = Ending::Failed;
  try {
    ending = writeQueued(session);
  } catch (const std::exception&) {  // the owner refused a notice
  }
  // Closed before the hangup is told, so that SendData already fails when
  // OnRequestHangup runs.
  session.queue.close();
  session.device.purge(SerialDevice::Purge::Output);
  if (ending == Ending::Failed) session.reportHangup();
}

}  // namespace ombrel

#include "ports/serial/queue_writer.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

namespace ombrel {
namespace {

// Writes all of `block`; an ending when it could not.
std::optional<WriterEnding> writeBlock(const WriterParts& parts, const Bytes& block) {
  std::size_t written = 0;
  while (written < block.size()) {
    const ssize_t done = ::write(parts.fd, block.data() + written, block.size() - written);
    if (done > 0) {
      written += static_cast<std::size_t>(done);
      continue;
    }
    if (done < 0 && errno == EINTR) continue;
    if (done < 0 && errno == EAGAIN) {
      // The driver's buffer is full (slow line, flow control, busy printer).
      const auto waited = parts.stop.waitFor(parts.fd, POLLOUT, std::nullopt);
      if (waited.wake == StopSignal::Wake::Stopped) return WriterEnding::Stopped;
      if (waited.wake == StopSignal::Wake::Ready && (waited.events & (POLLHUP | POLLERR | POLLNVAL)) == 0) continue;
    }
    return WriterEnding::Failed;
  }
  return std::nullopt;
}

}  // namespace

WriterEnding writeQueuedBlocks(const WriterParts& parts) {
  bool announce = true;
  for (;;) {
    std::optional<Bytes> block = parts.queue.take();
    if (!block) {
      if (announce) parts.sink.postSendEmpty();
      announce = false;
      const auto waited = parts.stop.waitFor(parts.queue.readyFd(), POLLIN, std::nullopt);
      if (waited.wake == StopSignal::Wake::Stopped) return WriterEnding::Stopped;
      if (waited.wake != StopSignal::Wake::Ready) return WriterEnding::Failed;
      parts.queue.clearReady();
      continue;
    }
    if (parts.stop.isRaised()) return WriterEnding::Stopped;
    if (const auto ending = writeBlock(parts, *block)) return *ending;
    announce = true;
  }
}

}  // namespace ombrel

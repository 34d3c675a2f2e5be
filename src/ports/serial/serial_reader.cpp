#include "ports/serial/serial_reader.h"

#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <exception>

#include "ports/serial/port_session.h"
#include "ports/serial/read_completion.h"

namespace ombrel {
namespace {

using SteadyClock = std::chrono::steady_clock;

// How often the line counters are sampled. Line events are rare and their
// handlers not urgent; data never waits for this.
constexpr auto kLineCheckPeriod = std::chrono::milliseconds(20);

class Reader {
 public:
  explicit Reader(PortSession& session) : session_(session), counters_(session.device.lineCounters()) {}

  // Returns when the stop signal is raised or the port failed.
  void run();

 private:
  bool readAvailable(short events);
  bool checkLine(ReadTimePoint now);
  void complete(ReadTimePoint now);

  PortSession& session_;
  std::optional<LineCounters> counters_;  // none: the driver keeps no counters
  ReadTimePoint nextLineCheck_;
  std::array<std::uint8_t, kReadChunkSize> buffer_{};
  std::size_t gathered_ = 0;
  ReadTimePoint readStart_;
  ReadTimePoint lastByte_;
};

void Reader::run() {
  readStart_ = SteadyClock::now();
  nextLineCheck_ = readStart_ + kLineCheckPeriod;
  for (;;) {
    // Time-outs are fetched afresh each time: the owner may change them while
    // a read is pending.
    std::optional<ReadTimePoint> wakeAt = readCompletionTime(session_.timeouts.get(), readStart_, lastByte_, gathered_);
    if (counters_ && (!wakeAt || nextLineCheck_ < *wakeAt)) wakeAt = nextLineCheck_;

    const auto waited = session_.stop.waitFor(session_.device.fd(), POLLIN, wakeAt);
    if (waited.wake == StopSignal::Wake::Stopped) return;
    if (waited.wake == StopSignal::Wake::Failed) {
      complete(SteadyClock::now());
      session_.reportHangup();
      return;
    }
    const bool arrived = waited.wake == StopSignal::Wake::Ready;
    if (arrived && !readAvailable(waited.events)) return;

    const ReadTimePoint now = SteadyClock::now();
    if (counters_ && now >= nextLineCheck_ && !checkLine(now)) return;
    const auto completion = readCompletionTime(session_.timeouts.get(), readStart_, lastByte_, gathered_);
    // A reply whose head tells its length is whole once that many bytes are
    // here: nothing is gained by waiting for the line to fall silent.
    const bool ended = arrived && gathered_ > 0 && session_.sink->endsChunk(buffer_.data(), gathered_);
    if (gathered_ == kReadChunkSize || (completion && now >= *completion) || ended) complete(now);
  }
}

// Takes what has arrived into the pending read. False when the device has
// failed or gone (unplugged, or the far end of a pseudo-terminal closed).
bool Reader::readAvailable(short events) {
  const ssize_t got = ::read(session_.device.fd(), buffer_.data() + gathered_, kReadChunkSize - gathered_);
  if (got > 0) {
    gathered_ += static_cast<std::size_t>(got);
    lastByte_ = SteadyClock::now();
    return true;
  }
  if (got < 0 && errno == EINTR) return true;
  if (got < 0 && errno == EAGAIN && (events & (POLLHUP | POLLERR | POLLNVAL)) == 0) return true;
  complete(SteadyClock::now());
  session_.reportHangup();
  return false;
}

bool Reader::checkLine(ReadTimePoint now) {
  const std::optional<LineCounters> current = session_.device.lineCounters();
  if (!current) {
    // The device is gone; what it sent before still belongs to the owner.
    complete(now);
    session_.reportHangup();
    return false;
  }
  const LineEvents events = lineEventsBetween(*counters_, *current);
  counters_ = current;
  if (events.errorBits != 0) session_.sink->postError(events.errorBits);
  if (events.modemBits != 0) session_.sink->postModem(events.modemBits);
  nextLineCheck_ = now + kLineCheckPeriod;
  return true;
}

// Delivers the pending read, if it gathered anything, and starts the next.
// An empty read is not the end of the port: it only timed out.
void Reader::complete(ReadTimePoint now) {
  if (gathered_ > 0) {
    Bytes chunk(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(gathered_));
    chunk.push_back(0);
    session_.sink->postData(std::move(chunk));
  }
  gathered_ = 0;
  readStart_ = now;
}

}  // namespace

void runReader(PortSession& session) {
  try {
    Reader(session).run();
  } catch (const std::exception&) {  // no memory for a chunk, or the owner refused a notice
    session.reportHangup();
  }
  session.device.purge(SerialDevice::Purge::Input);
}

}  // namespace ombrel

#include "pty_transport.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <optional>
#include <stdexcept>
#include <thread>

#include "line_timing.h"
#include "stream_units.h"

namespace ombrel::vprinter {

namespace {

using RealClock = std::chrono::steady_clock;
using TimePoint = RealClock::time_point;

// Bytes that reach the printer within this much real time of each other
// belong to one raw unit.
constexpr auto kIdleGap = std::chrono::milliseconds(5);
// A line that reports a hang-up while the port is counted as open is waited
// out, not polled in a busy loop.
constexpr auto kHangUpPause = std::chrono::milliseconds(1);

// Bytes on their way in over a paced line.
struct Arrival {
  Bytes bytes;
  std::uint32_t toolRate;
  TimePoint startsAt;  // the first byte is on the line
  TimePoint at;        // the last byte is in
};

struct ScheduledReply {
  OutgoingReply reply;
  std::int64_t dueMs;  // protocol time
};

// A reply going out over a paced line, one step of bytes at a time; each step
// is written when its last byte would have crossed the line.
struct ReplyOnLine {
  OutgoingReply reply;
  std::size_t step = 1;
  std::size_t written = 0;
  TimePoint nextStepAt;
};

std::string rateText(std::uint32_t rate) { return std::to_string(rate) + " bit/s"; }

timespec timeoutUntil(TimePoint deadline) {
  const auto left = std::max(deadline - RealClock::now(), RealClock::duration::zero());
  const auto count = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
  return timespec{static_cast<time_t>(count / 1'000'000'000), static_cast<long>(count % 1'000'000'000)};
}

class LineServer {
 public:
  LineServer(PtyLine& line, PortWatch& watch, bool pace, PrinterSession& session, Clock& clock)
      : line_(line),
        watch_(watch),
        pace_(pace),
        session_(session),
        clock_(clock),
        printerRate_(session.lineRate()),
        units_(
            kIdleGap, [&session](const Bytes& raw) { return session.answersAtOnce(raw); },
            [this](const Bytes& unit) { handle(unit); }) {}

  void run(int stopFd);

 private:
  std::optional<TimePoint> nextDeadline() const;
  void portEvents();
  void closed(bool reopened);
  void readLine();
  void taken(const Bytes& bytes, std::uint32_t toolRate, TimePoint at);
  void arrivals(TimePoint now);
  void handle(const Bytes& unit);
  void sendReplies(TimePoint now);
  bool writeStep(ReplyOnLine& onLine, TimePoint now);
  void replyDone(const OutgoingReply& reply, bool written);
  void followRate();
  void finish();

  PtyLine& line_;
  PortWatch& watch_;
  const bool pace_;
  PrinterSession& session_;
  Clock& clock_;

  int openers_ = 0;  // how many have the tool's side of the line open
  std::uint32_t printerRate_;
  StreamUnits units_;
  LineDirection inbound_;
  LineDirection outbound_;
  std::deque<Arrival> arriving_;
  // Every reply has the same delay, so they fall due in the order scheduled.
  std::deque<ScheduledReply> scheduled_;
  std::optional<ReplyOnLine> onLine_;
};

void LineServer::run(int stopFd) {
  for (;;) {
    pollfd waits[3] = {{stopFd, POLLIN, 0}, {watch_.fd(), POLLIN, 0}, {line_.fd(), POLLIN, 0}};
    // While nobody has the tool's side open, the master reports a hang-up
    // without end: it is read only when the port closes.
    const nfds_t watched = openers_ > 0 ? 3 : 2;
    const auto deadline = nextDeadline();
    timespec timeout{};
    if (deadline) timeout = timeoutUntil(*deadline);
    const int ready = ::ppoll(waits, watched, deadline ? &timeout : nullptr, nullptr);
    if (ready < 0 && errno != EINTR) throw std::runtime_error(std::string("ppoll: ") + std::strerror(errno));
    if (ready > 0 && (waits[1].revents & POLLIN) != 0) portEvents();
    if (ready > 0 && openers_ > 0 && (waits[2].revents & POLLIN) != 0) {
      readLine();
    } else if (ready > 0 && openers_ > 0 && (waits[2].revents & POLLHUP) != 0) {
      std::this_thread::sleep_for(kHangUpPause);
    }
    const TimePoint now = RealClock::now();
    arrivals(now);
    units_.idle(now);
    sendReplies(now);
    if (ready > 0 && (waits[0].revents & POLLIN) != 0) {
      finish();
      return;
    }
    if (session_.hungUp()) {
      // Serving ends; the caller closes the master side, which the tool's
      // port sees as the line hung up.
      finish();
      session_.lineEvent("hangup", "the printer hung up the line");
      return;
    }
  }
}

std::optional<TimePoint> LineServer::nextDeadline() const {
  std::optional<TimePoint> deadline = units_.idleDeadline();
  const auto consider = [&deadline](TimePoint at) { deadline = deadline ? std::min(*deadline, at) : at; };
  if (!arriving_.empty()) consider(arriving_.front().at);
  if (onLine_) {
    consider(onLine_->nextStepAt);
  } else if (!scheduled_.empty()) {
    const auto left = clock_.realDuration(scheduled_.front().dueMs - clock_.nowMs());
    consider(RealClock::now() + std::chrono::duration_cast<RealClock::duration>(left));
  }
  return deadline;
}

void LineServer::portEvents() {
  const std::vector<PortEvent> events = watch_.take();
  for (std::size_t i = 0; i < events.size(); ++i) {
    if (events[i] == PortEvent::Opened) {
      if (openers_++ == 0) session_.lineEvent("open", "the tool opened the port");
    } else if (openers_ > 0 && --openers_ == 0) {
      closed(std::find(events.begin() + static_cast<std::ptrdiff_t>(i), events.end(), PortEvent::Opened) !=
             events.end());
    }
  }
}

// What the tool wrote before it closed the port is still waiting on the
// master, unless it has opened the port again already: what waits then was
// written after that.
void LineServer::closed(bool reopened) {
  if (!reopened) readLine();
  const TimePoint now = RealClock::now();
  arrivals(now);
  // The port was closed under bytes still crossing the line: the tool's close
  // discards what its side has not sent yet.
  Bytes lost;
  for (const Arrival& arrival : arriving_) {
    const auto onLine = std::max(now - arrival.startsAt, RealClock::duration::zero());
    const auto through = static_cast<std::size_t>(onLine / byteTime(printerRate_));
    const auto cut = arrival.bytes.begin() + static_cast<std::ptrdiff_t>(std::min(through, arrival.bytes.size()));
    taken(Bytes(arrival.bytes.begin(), cut), arrival.toolRate, now);
    lost.insert(lost.end(), cut, arrival.bytes.end());
  }
  arriving_.clear();
  units_.flush();
  session_.lineEvent(
      "close",
      lost.empty() ? "the tool closed the port"
                   : "the tool closed the port; " + std::to_string(lost.size()) + " bytes still on the line were lost",
      lost);
}

void LineServer::readLine() {
  for (Bytes bytes = line_.readAvailable(); !bytes.empty(); bytes = line_.readAvailable()) {
    // The rate counts as it is the moment the bytes are taken from the line.
    const std::uint32_t toolRate = line_.toolRate();
    const TimePoint now = RealClock::now();
    if (!pace_) {
      taken(bytes, toolRate, now);
      continue;
    }
    const TimePoint at = inbound_.carry(bytes.size(), now, printerRate_);
    const TimePoint startsAt = at - lineTime(bytes.size(), printerRate_);
    arriving_.push_back(Arrival{std::move(bytes), toolRate, startsAt, at});
  }
}

void LineServer::taken(const Bytes& bytes, std::uint32_t toolRate, TimePoint at) {
  if (bytes.empty()) return;
  if (toolRate != printerRate_) {
    // Whatever was being gathered is broken off by the noise.
    units_.flush();
    session_.noise(bytes, toolRate, printerRate_);
    return;
  }
  units_.take(bytes, at);
}

void LineServer::arrivals(TimePoint now) {
  while (!arriving_.empty() && arriving_.front().at <= now) {
    const Arrival arrival = std::move(arriving_.front());
    arriving_.pop_front();
    taken(arrival.bytes, arrival.toolRate, arrival.at);
  }
}

void LineServer::handle(const Bytes& unit) {
  if (auto reply = session_.receive(unit)) {
    const std::int64_t due = clock_.nowMs() + reply->delayMs;
    for (int copy = 1; copy < reply->copies; ++copy) scheduled_.push_back(ScheduledReply{*reply, due});
    scheduled_.push_back(ScheduledReply{std::move(*reply), due});
  } else {
    followRate();
  }
}

void LineServer::sendReplies(TimePoint now) {
  for (;;) {
    if (!onLine_) {
      if (scheduled_.empty() || scheduled_.front().dueMs > clock_.nowMs()) return;
      if (!pace_) {
        // Everything due goes out in one write, copies of a reply back to
        // back as a printer sends them, and is logged afterwards.
        std::vector<OutgoingReply> due;
        Bytes bytes;
        while (!scheduled_.empty() && scheduled_.front().dueMs <= clock_.nowMs()) {
          due.push_back(std::move(scheduled_.front().reply));
          scheduled_.pop_front();
          bytes.insert(bytes.end(), due.back().bytes.begin(), due.back().bytes.end());
        }
        const bool written = line_.writeAll(bytes);
        for (const OutgoingReply& reply : due) replyDone(reply, written);
        continue;
      }
      OutgoingReply reply = std::move(scheduled_.front().reply);
      scheduled_.pop_front();
      ReplyOnLine onLine{std::move(reply), paceStep(printerRate_), 0, {}};
      const std::size_t first = std::min(onLine.step, onLine.reply.bytes.size());
      onLine.nextStepAt = outbound_.carry(first, now, printerRate_);
      onLine_ = std::move(onLine);
    }
    if (!writeStep(*onLine_, now)) return;
  }
}

// Writes the next step once it is due; true when the reply is done with.
bool LineServer::writeStep(ReplyOnLine& onLine, TimePoint now) {
  if (now < onLine.nextStepAt) return false;
  const Bytes& bytes = onLine.reply.bytes;
  const std::size_t count = std::min(onLine.step, bytes.size() - onLine.written);
  const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(onLine.written);
  const bool written = line_.writeAll(Bytes(begin, begin + static_cast<std::ptrdiff_t>(count)));
  onLine.written += count;
  if (!written || onLine.written == bytes.size()) {
    const OutgoingReply reply = std::move(onLine.reply);
    onLine_.reset();
    replyDone(reply, written);
    return true;
  }
  const std::size_t next = std::min(onLine.step, bytes.size() - onLine.written);
  onLine.nextStepAt = outbound_.carry(next, onLine.nextStepAt, printerRate_);
  return false;
}

// A reply the line refused (no room for a long time, or an error) is lost
// and not logged as sent.
void LineServer::replyDone(const OutgoingReply& reply, bool written) {
  if (written) session_.sent(reply);
  followRate();
}

// The printer moves to a rate that command 49 set only once nothing it says
// at the old rate is left to send.
void LineServer::followRate() {
  if (onLine_ || !scheduled_.empty()) return;
  const std::uint32_t rate = session_.lineRate();
  if (rate == printerRate_) return;
  printerRate_ = rate;
  session_.lineEvent("rate", "printer line rate now " + rateText(rate));
}

// Stopping: whatever is still under way is logged as it stands.
void LineServer::finish() {
  for (const Arrival& arrival : arriving_) taken(arrival.bytes, arrival.toolRate, arrival.at);
  arriving_.clear();
  units_.flush();
}

}  // namespace

PtyTransport::PtyTransport(bool pace) : watch_(line_.slavePath()), pace_(pace) {}

void PtyTransport::serve(PrinterSession& session, Clock& clock, int stopFd) {
  LineServer server(line_, watch_, pace_, session, clock);
  server.run(stopFd);
}

}  // namespace ombrel::vprinter

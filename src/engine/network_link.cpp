// The network link: one UDP datagram per frame to the printer's address; the
// waiting task reads the printer's reply datagram itself.

#include <algorithm>
#include <chrono>
#include <optional>

#include "engine/stream_link.h"
#include "engine/write_pieces.h"
#include "protocol/frame.h"

namespace ombrel {
namespace {

constexpr std::size_t kDatagramCapacity = 2049;
// The largest UDP payload over IPv4: anything longer could not be sent at all.
constexpr std::size_t kMaxDatagram = 65507;

class NetworkLink final : public Link {
 public:
  NetworkLink(const LinkSettings& settings, const LinkParts& parts)
      : host_(settings.hostAddress), port_(settings.hostPort), parts_(parts) {}

  void open(const std::string&, int, bool) override { activate(); }
  void close(bool) override { parts_.udp.deactivate(); }

  // Datagrams are not confirmed: what the socket was given counts as taken.
  bool write(const Bytes& bytes) override {
    discardStaleDatagrams();
    if (bytes.size() >= frame::kHeadSize && frame::isAcceptedDatagram(bytes.data(), bytes.size())) {
      previousRequest_ = latestRequest_;
      latestRequest_ = requestOf(bytes.data());
    }
    return writeInPieces(bytes, kMaxDatagram, [this](const std::uint8_t* piece, std::size_t count) {
      parts_.udp.send(piece, count);
      return true;
    });
  }

  // A datagram has left once it is sent.
  void waitUntilWritten(std::size_t) override {}
  bool hasRate() const override { return false; }
  bool framesCarryDataCheck() const override { return false; }

  std::optional<Bytes> awaitReply(const ReplyWaits& waits) override {
    const auto deadline = std::chrono::steady_clock::now() + parts_.clock.realDuration(waits.datagramMs);
    Bytes datagram;
    do {
      const auto left = std::max(deadline - std::chrono::steady_clock::now(), std::chrono::steady_clock::duration::zero());
      parts_.udp.receive(datagram, kDatagramCapacity, left);
      if (!datagram.empty()) parts_.trace.block("Receive", datagram.data(), datagram.size());
      if (!frame::isAcceptedDatagram(datagram.data(), datagram.size())) return std::nullopt;
    } while (isPreviousReply(datagram));
    // Only the data bytes the datagram really holds are taken, whatever
    // length its head claims.
    const std::size_t claimed = frame::readHead(datagram.data()).length;
    const std::size_t present = std::min(claimed, datagram.size() - frame::kHeadSize);
    const auto begin = datagram.begin() + static_cast<std::ptrdiff_t>(frame::kHeadSize);
    return Bytes(begin, begin + static_cast<std::ptrdiff_t>(present));
  }

  // The network link reports no reply length to the senders' callers.
  std::size_t replyLength() const override { return 0; }

  // Sent to the printer of this task's link choice even when no framed task
  // has opened the link before: nothing would leave the machine otherwise.
  void beginRawSend(int) override { activate(); }
  void endRawSend() override { parts_.udp.deactivate(); }

  LinkTestTexts testTexts() const override {
    const std::string address = host_ + ":" + std::to_string(port_);
    return {"Checking" + address, address + " Found"};
  }

 private:
  // What identifies a request and the printer's reply to it, which carries
  // the request's head.
  struct Request {
    std::uint16_t command;
    std::uint32_t first;
    bool operator==(const Request&) const = default;
  };
  static Request requestOf(const std::uint8_t* head) {
    const frame::Head fields = frame::readHead(head);
    return {fields.command, fields.first};
  }

  // A reply that names the request before the latest one, and not the latest
  // one itself, is that request's duplicated or late reply: it arrived after
  // the latest request left. Taken for the latest one's, it would shift every
  // later reply by one. A reply whose head names neither is still taken.
  bool isPreviousReply(const Bytes& datagram) const {
    const Request reply = requestOf(datagram.data());
    return previousRequest_ && reply == *previousRequest_ && (!latestRequest_ || !(reply == *latestRequest_));
  }

  // Whatever waits on the socket before a request leaves cannot be its reply:
  // a duplicated or late reply to an earlier request would otherwise be taken
  // for this one's, and every later request would read its predecessor's
  // reply (a read-back would save shifted data). Traced as received.
  void discardStaleDatagrams() {
    Bytes datagram;
    while (parts_.udp.receive(datagram, kDatagramCapacity, std::chrono::nanoseconds::zero()) > 0) {
      parts_.trace.block("Receive", datagram.data(), datagram.size());
    }
  }

  void activate() {
    previousRequest_.reset();
    latestRequest_.reset();
    parts_.udp.setRemote(host_, port_);
    parts_.udp.activate();
  }

  const std::string host_;
  const int port_;
  LinkParts parts_;
  std::optional<Request> previousRequest_;
  std::optional<Request> latestRequest_;
};

}  // namespace

std::unique_ptr<Link> makeNetworkLink(const LinkSettings& settings, const LinkParts& parts) {
  return std::make_unique<NetworkLink>(settings, parts);
}

}  // namespace ombrel

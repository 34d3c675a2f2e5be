// The network link: one UDP datagram per frame to the printer's address; the
// waiting task reads the printer's reply datagram itself.

#include <algorithm>
#include <chrono>

#include "protocol/stale_replies.h"
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
  NetworkLink(const LinkSettings& settings, UdpPort& port, const LinkParts& parts)
      : host_(settings.hostAddress), port_(settings.hostPort), udp_(port), parts_(parts) {}

  void open(int, bool) override { activate(); }
  void close(bool) override { udp_.deactivate(); }

  // Whatever waits on the socket before a request leaves cannot be its reply:
  // late or duplicated replies to earlier requests. Traced as received.
  void discardEarlierReplies() override {
    Bytes datagram;
    while (udp_.receive(datagram, kDatagramCapacity, std::chrono::nanoseconds::zero()) > 0) {
      parts_.trace.block("Receive", datagram.data(), datagram.size());
    }
  }

  // Datagrams are not confirmed: what the socket was given counts as taken.
  bool write(const Bytes& bytes) override {
    stale_.written(bytes);
    return writeInPieces(bytes, kMaxDatagram, [this](const std::uint8_t* piece, std::size_t count) {
      udp_.send(piece, count);
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
      const auto left =
          std::max(deadline - std::chrono::steady_clock::now(), std::chrono::steady_clock::duration::zero());
      udp_.receive(datagram, kDatagramCapacity, left);
      if (!datagram.empty()) parts_.trace.block("Receive", datagram.data(), datagram.size());
      if (!frame::isAcceptedDatagram(datagram.data(), datagram.size())) return std::nullopt;
    } while (!stale_.takes(datagram.data()));
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
  void endRawSend() override { udp_.deactivate(); }

  // A printer on the network restarts without the tool closing anything.
  bool suspend() override { return false; }
  void resume() override {}

  LinkTestTexts testTexts() const override {
    const std::string address = host_ + ":" + std::to_string(port_);
    return {"Checking" + address, address + " Found"};
  }

 private:
  void activate() {
    stale_.forget();
    udp_.setRemote(host_, port_);
    udp_.activate();
  }

  const std::string host_;
  const int port_;
  UdpPort& udp_;
  LinkParts parts_;
  StaleReplies stale_;
};

}  // namespace

std::unique_ptr<Link> makeNetworkLink(const LinkSettings& settings, UdpPort& port, const LinkParts& parts) {
  return std::make_unique<NetworkLink>(settings, port, parts);
}

}  // namespace ombrel

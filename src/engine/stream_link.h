#pragma once

// What the two byte-stream links (serial and USB) share: their replies are
// assembled from delivered chunks in the reply channel, and their frames
// carry the data check byte.

#include "engine/link.h"
#include "ports/serial_port.h"
#include "ports/udp_port.h"
#include "ports/usb_port.h"
#include "protocol/stale_replies.h"

namespace ombrel {

class StreamLink : public Link {
 public:
  explicit StreamLink(const LinkParts& parts) : parts_(parts) {}

  // Bytes assembled so far belong to earlier requests.
  void discardEarlierReplies() override { parts_.reply.reset(); }
  bool framesCarryDataCheck() const override { return true; }
  std::optional<Bytes> awaitReply(const ReplyWaits& waits) override;
  std::size_t replyLength() const override { return parts_.reply.replyLength(); }

 protected:
  // A write call of the ports carries a 16-bit length.
  static constexpr std::size_t kMaxPortWrite = 65535;

  // The "Close" line of a link that was open during a task names the serial
  // port, whichever stream link was used.
  void traceClose(bool wasOpen, const std::string& serialName);

  LinkParts parts_;
  // Every write tells it what was sent.
  StaleReplies stale_;
};

std::unique_ptr<Link> makeSerialLink(const LinkSettings& settings, SerialPort& port, const LinkParts& parts);
std::unique_ptr<Link> makeUsbLink(const LinkSettings& settings, UsbPort& port, std::string serialName,
                                  const LinkParts& parts);
std::unique_ptr<Link> makeNetworkLink(const LinkSettings& settings, UdpPort& port, const LinkParts& parts);

}  // namespace ombrel

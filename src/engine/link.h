#pragma once

// The engine's link to the printer: one interface, one implementation per
// transport (serial port, UDP network, USB printer port). The engine's
// operations (OpenLink, CloseLink, WriteLink, SendCommand, ReadBlock, the link
// test) call it and never ask which transport is behind it; makeLink chooses
// the transport once per task, from the task's link snapshot
// (EnginePorts::makeLink).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/engine_host.h"
#include "engine/reply_channel.h"
#include "engine/trace.h"
#include "platform/bytes.h"
#include "platform/clock.h"
#include "platform/errors.h"

namespace ombrel {

// How long a request waits for its reply: a datagram on the network link, an
// assembled frame on the byte-stream links. Protocol milliseconds.
struct ReplyWaits {
  std::int64_t datagramMs;
  std::int64_t frameMs;
};

// What the link test reports before and after opening; empty: nothing.
struct LinkTestTexts {
  std::string checking;
  std::string found;
};

class Link {
 public:
  virtual ~Link() = default;

  // A task starts or ends on this link.
  virtual void beginTask() {}
  virtual void endTask() {}
  // Another transport's task comes next: what this one left open is closed.
  virtual void release() {}

  // Opens the transport; a serial port at `devRate`, the rate the printer
  // listens on now. `wasOpen`: the engine's link was still open.
  virtual void open(int devRate, bool wasOpen) = 0;
  // Ends the task's use of the transport.
  virtual void close(bool wasOpen) = 0;
  // Before a request leaves: what came for earlier requests is set aside, so
  // that it cannot be taken for this request's reply.
  virtual void discardEarlierReplies() = 0;
  // Hands the bytes to the transport, in as many pieces as it needs; false
  // when the port refused a piece (it is closed, or its writer failed).
  virtual bool write(const Bytes& bytes) = 0;
  // Raises the failure of a write that the port refused.
  [[noreturn]] virtual void refusedWrite() const {
    throw ECommonError(Failure::PortRefusedBytes, "The port did not take the bytes");
  }
  // Waits until `count` bytes just written have left the machine, where the
  // transport can tell: nothing confirms raw bytes, and closing a port
  // discards what is still on its way.
  virtual void waitUntilWritten(std::size_t count) = 0;
  // Whether the transport runs at a rate that printer and port change
  // together (command 49), and so must be moved to the task's rate.
  virtual bool hasRate() const = 0;
  // The printer was moved to `rate`: a port with a rate follows it at once.
  virtual void followRate(std::uint32_t) {}
  // Whether frames on this link carry the data check byte.
  virtual bool framesCarryDataCheck() const = 0;
  // The data of the reply to the latest write, once one is accepted; nothing
  // when none came in time.
  virtual std::optional<Bytes> awaitReply(const ReplyWaits& waits) = 0;
  // The data length the latest reply claimed, as the senders report it.
  virtual std::size_t replyLength() const = 0;
  // Raw sequences are sent without OpenLink: readies the transport for one
  // (the port opened at `devRate` where it has a rate), and ends that use.
  virtual void beginRawSend(int devRate) = 0;
  virtual void endRawSend() = 0;
  // The program update closes the port while the printer restarts into its
  // loader, and opens it again as it was. False: the link has no port to
  // close, and nothing waits.
  virtual bool suspend() = 0;
  virtual void resume() = 0;
  // Whether the boot loader's answer to the handshake can be recognised on
  // this link: only a serial line delivers it unparsed.
  virtual bool carriesBootHandshake() const { return false; }
  virtual LinkTestTexts testTexts() const = 0;
  // Advice for the operator once opening this link failed, or a link test
  // found no printer on it: why this user cannot open its port, if that is
  // why. Nothing where the link has no port to open.
  virtual std::optional<std::string> openAdvice() const { return std::nullopt; }
};

// What every link shares with the engine: its clock, trace and reply
// channel, and the rate the printer was last moved to, which the engine
// compares with whatever the transport.
struct LinkParts {
  Clock& clock;
  Trace& trace;
  ReplyChannel& reply;
  std::uint32_t& printerRate;
};

}  // namespace ombrel

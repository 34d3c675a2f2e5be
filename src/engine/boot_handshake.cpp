// Task 28: sends the boot loader's byte until the printer answers with it.

#include "engine/comm_thread.h"
#include "platform/errors.h"
#include "protocol/codes.h"

namespace ombrel {

namespace {
constexpr int kMaxHandshakeBytes = 1001;
constexpr std::int64_t kByteIntervalMs = 50;
constexpr std::int64_t kReopenPauseMs = 10;
constexpr std::int64_t kLoaderSettleMs = 100;
constexpr std::int64_t kSerialSettleMs = 30;
constexpr const char* kSerialOnly = "The boot handshake runs on a serial link only";
}  // namespace

void TCommThread::BootHandshake(std::uint8_t byte) {
  // The loader's answer is recognised only in unparsed serial bytes: on
  // another link the handshake could never end, and must change nothing.
  if (!link_->carriesBootHandshake()) throw ECommonError(kSerialOnly, FailureKind::InputRefused);
  // From the handshake until the next program update ends, an unanswered
  // command no longer fails that update: a printer in its boot loader does
  // not acknowledge them.
  setLenientReplies(true);
  rawReceive_ = true;
  // The port reopened at the rate the printer listens on.
  link_->beginRawSend(snapshot_.devBaud);
  linkOpen_ = true;
  cancelRequested_ = false;
  clock_.sleepMs(kSerialSettleMs + kLoaderSettleMs);
  // Each byte resets the reply position, so the printer's first byte after
  // the latest one lands at the start of the buffer.
  for (int sent = 0; sent < kMaxHandshakeBytes; ++sent) {
    if (reply_.firstByte() == byte) {
      link_->close(false);
      clock_.sleepMs(kReopenPauseMs);
      break;
    }
    if (cancelledByUser_) {
      // Boot mode was left: the handshake stops and the port is free again.
      link_->close(false);
      linkOpen_ = false;
      return;
    }
    WriteLink(Bytes{byte});
    clock_.sleepMs(kByteIntervalMs);
  }
  if (reply_.firstByte() == byte) {
    std::lock_guard lock(stateMutex_);
    bootReply_ = kBootLoaderAnswered;
    reply_.clearBuffer();
  }
}

void TCommThread::setLenientReplies(bool lenient) {
  if (lenientReplies_.exchange(lenient) == lenient) return;
  owner_.post([&host = host_, lenient] { host.replyCheckingChanged(!lenient); });
}

}  // namespace ombrel

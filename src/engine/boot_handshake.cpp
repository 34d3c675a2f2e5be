// Task 28: sends the boot loader's byte until the printer answers with it.

#include "engine/comm_thread.h"
#include "protocol/codes.h"

namespace ombrel {

namespace {
constexpr int kMaxHandshakeBytes = 1001;
constexpr std::int64_t kByteIntervalMs = 50;
constexpr std::int64_t kReopenPauseMs = 10;
constexpr std::int64_t kLoaderSettleMs = 100;
constexpr std::int64_t kSerialSettleMs = 30;
}  // namespace

void TCommThread::BootHandshake(std::uint8_t byte) {
  // From the handshake until the next program update ends, unanswered
  // commands no longer fail a task: a printer in its boot loader does not
  // acknowledge them.
  setLenientReplies(true);
  rawReceive_ = true;
  const bool serial = snapshot_.transport == Transport::Serial;
  if (serial) {
    serial_.closePort();
    clock_.sleepMs(kReopenPauseMs);
    ReopenSerial(snapshot_.comName);
    clock_.sleepMs(kLoaderSettleMs);
  }
  // Each byte resets the reply position, so the printer's first byte after
  // the latest one lands at the start of the buffer.
  for (int sent = 0; sent < kMaxHandshakeBytes; ++sent) {
    if (reply_.firstByte() == byte) {
      serial_.closePort();
      clock_.sleepMs(kReopenPauseMs);
      break;
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

void TCommThread::ReopenSerial(const std::string& name) {
  serial_.setCommName(name);
  serial_.setBaudRate(static_cast<std::uint32_t>(snapshot_.devBaud));
  if (linkOpen_) serial_.closePort();
  serial_.openPort();
  linkOpen_ = true;
  cancelRequested_ = false;
  if (taskCode_ != 0) clock_.sleepMs(kSerialSettleMs);
}

}  // namespace ombrel

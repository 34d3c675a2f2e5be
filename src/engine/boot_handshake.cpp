// Task 28: sends the boot loader's byte until the printer answers with it.

#include "engine/task_handlers.h"
#include "platform/errors.h"
#include "protocol/codes.h"

namespace ombrel {

namespace {
constexpr int kMaxHandshakeBytes = 1001;
constexpr std::int64_t kByteIntervalMs = 50;
constexpr std::int64_t kReopenPauseMs = 10;
constexpr std::int64_t kLoaderSettleMs = 100;
constexpr std::int64_t kSerialSettleMs = 30;

void handshake(TaskRun& run, std::uint8_t byte) {
  // The loader's answer is recognised only in unparsed serial bytes: on
  // another link the handshake could never end, and must change nothing.
  if (!run.link().carriesBootHandshake()) throw ECommonError(Failure::HandshakeNotSerial);
  const EngineParts& parts = run.parts();
  // From the handshake until the next program update ends, an unanswered
  // command no longer fails that update: a printer in its boot loader does
  // not acknowledge them.
  run.setLenientReplies(true);
  parts.line.rawReceive = true;
  // The port reopened at the rate the printer listens on.
  run.beginRawLink();
  parts.clock.sleepMs(kSerialSettleMs + kLoaderSettleMs);
  // Each byte resets the reply position, so the printer's first byte after
  // the latest one lands at the start of the buffer.
  for (int sent = 0; sent < kMaxHandshakeBytes; ++sent) {
    if (parts.reply.firstByte() == byte) {
      run.link().close(false);
      parts.clock.sleepMs(kReopenPauseMs);
      break;
    }
    if (run.cancelledByUser()) {
      // Boot mode was left: the handshake stops and the port is free again.
      run.link().close(false);
      parts.line.linkOpen = false;
      return;
    }
    run.WriteLink(Bytes{byte});
    parts.clock.sleepMs(kByteIntervalMs);
  }
  if (parts.reply.firstByte() == byte) {
    parts.readings.setBootReply(kBootLoaderAnswered);
    parts.reply.clearBuffer();
  }
}

}  // namespace

void bootHandshake(TaskRun& run) {
  run.recordingFailures([&] { handshake(run, kBootLoaderByte); });
}

}  // namespace ombrel

#include "engine/stream_link.h"

namespace ombrel {

std::optional<Bytes> StreamLink::awaitReply(const ReplyWaits& waits) {
  if (!parts_.reply.waitForReply(parts_.clock.realDuration(waits.frameMs))) return std::nullopt;
  return parts_.reply.replyData();
}

void StreamLink::closeSerialPort(bool wasOpen) {
  parts_.serial.closePort();
  if (wasOpen) {
    parts_.trace.line("Close" + parts_.serial.commName() + traceTimestamp(std::chrono::system_clock::now()));
  }
}

}  // namespace ombrel

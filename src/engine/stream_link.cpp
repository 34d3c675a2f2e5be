#include "engine/stream_link.h"

#include <algorithm>
#include <chrono>

namespace ombrel {

std::optional<Bytes> StreamLink::awaitReply(const ReplyWaits& waits) {
  const auto deadline = std::chrono::steady_clock::now() + parts_.clock.realDuration(waits.frameMs);
  for (;;) {
    const auto left =
        std::max(deadline - std::chrono::steady_clock::now(), std::chrono::steady_clock::duration::zero());
    if (!parts_.reply.waitForReply(left)) return std::nullopt;
    if (stale_.takes(parts_.reply.replyHead().data())) return parts_.reply.replyData();
    // The previous request's reply, come late or twice: the wait goes on for
    // this request's own.
    parts_.reply.reset();
  }
}

void StreamLink::traceClose(bool wasOpen, const std::string& serialName) {
  if (wasOpen) parts_.trace.line("Close" + serialName + traceTimestamp(std::chrono::system_clock::now()));
}

}  // namespace ombrel

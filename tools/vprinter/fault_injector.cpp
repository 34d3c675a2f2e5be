#include "fault_injector.h"

#include "protocol/frame.h"

namespace ombrel::vprinter {

namespace {
constexpr std::size_t kShortReplySize = 15;
constexpr std::size_t kHeadCheckAt = 14;
}  // namespace

FaultInjector::FaultInjector(FaultOptions options) : options_(std::move(options)) {}

FaultDecision FaultInjector::apply(std::optional<std::uint16_t> command, Bytes reply) {
  FaultDecision decision;
  ++commandsCounted_;
  if (hungUp()) {
    decision.applied.push_back("hang-up");
    return decision;
  }
  if (options_.silentAfter && commandsCounted_ > *options_.silentAfter) {
    decision.applied.push_back("silent-after");
    return decision;
  }
  if (options_.silent) {
    decision.applied.push_back("silent");
    return decision;
  }
  if (command && options_.ignored.count(*command) != 0) {
    decision.applied.push_back("ignore");
    return decision;
  }
  ++repliesCounted_;
  if (options_.dropEvery != 0 && repliesCounted_ % options_.dropEvery == 0) {
    decision.applied.push_back("drop-every");
    return decision;
  }
  const bool wholeHead = reply.size() >= frame::kHeadSize;
  if (options_.badHead && wholeHead) {
    // Only the leading bytes are wrong: the check still matches the head, so a
    // receiver that examines both rejects the reply for its start alone.
    reply[1] = 0x01;
    reply[kHeadCheckAt] = frame::xorOf(reply.data(), kHeadCheckAt);
    decision.applied.push_back("bad-head");
  }
  if (options_.corruptCheck && wholeHead) {
    reply[kHeadCheckAt] ^= 0xFF;
    decision.applied.push_back("corrupt-check");
  }
  if (options_.shortReply && reply.size() > kShortReplySize) {
    reply.resize(kShortReplySize);
    decision.applied.push_back("short-reply");
  }
  if (options_.delayMs > 0) decision.applied.push_back("delay");
  if (options_.duplicate || (options_.duplicateFrom != 0 && commandsCounted_ >= options_.duplicateFrom)) {
    decision.copies = 2;
    decision.applied.push_back("duplicate");
  }
  if (options_.replyFromOtherPort) decision.applied.push_back("reply-from-other-port");
  decision.reply = std::move(reply);
  return decision;
}

}  // namespace ombrel::vprinter

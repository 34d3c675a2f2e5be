#include "engine/stale_replies.h"

#include "protocol/frame.h"

namespace ombrel {

void StaleReplies::forget() {
  previous_.reset();
  latest_.reset();
}

void StaleReplies::written(const Bytes& bytes) {
  if (bytes.size() < frame::kHeadSize || !frame::isAcceptedDatagram(bytes.data(), bytes.size())) return;
  previous_ = latest_;
  latest_ = requestOf(bytes.data());
}

bool StaleReplies::isPreviousReply(const std::uint8_t* head) const {
  const Request reply = requestOf(head);
  return previous_ && reply == *previous_ && !(latest_ && reply == *latest_);
}

StaleReplies::Request StaleReplies::requestOf(const std::uint8_t* head) {
  const frame::Head fields = frame::readHead(head);
  return {fields.command, fields.first};
}

}  // namespace ombrel

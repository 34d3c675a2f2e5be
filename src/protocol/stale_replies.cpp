#include "protocol/stale_replies.h"

#include "protocol/frame.h"

namespace ombrel {

void StaleReplies::forget() {
  previous_.reset();
  latest_.reset();
  echoes_ = false;
}

void StaleReplies::written(const Bytes& bytes) {
  if (bytes.size() < frame::kHeadSize || !frame::isAcceptedDatagram(bytes.data(), bytes.size())) return;
  previous_ = latest_;
  latest_ = requestOf(bytes.data());
}

bool StaleReplies::takes(const std::uint8_t* head) {
  const Request reply = requestOf(head);
  const bool namesLatest = latest_ && reply == *latest_;
  if (echoes_) return namesLatest || !(previous_ && reply == *previous_);
  // A zero first argument proves nothing: a printer that zeroes its reply
  // arguments would seem to echo it.
  if (namesLatest && latest_->first != 0) echoes_ = true;
  return true;
}

StaleReplies::Request StaleReplies::requestOf(const std::uint8_t* head) {
  const frame::Head fields = frame::readHead(head);
  return {fields.command, fields.first};
}

}  // namespace ombrel

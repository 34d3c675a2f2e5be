#pragma once

// How the scripted printers of the engine tests answer a frame: an
// acknowledgement with the request's head, the identity "ab" to command 48.

#include <set>

#include "protocol/frame.h"
#include "platform/bytes.h"

namespace ombrel::testing_support {

inline Bytes scriptedReply(const Bytes& sent, const std::set<int>& ignored) {
  if (sent.size() < frame::kHeadSize || sent[0] != 0x02 || sent[1] != 0x00) return {};
  const frame::Head head = frame::readHead(sent.data());
  if (ignored.count(head.command) != 0) return {};
  const Bytes data = head.command == 48 ? Bytes{'a', 'b', 0, 0, 0, 0, 0, 0} : Bytes{};
  return frame::build(head.command, head.first, head.second, data, true);
}

}  // namespace ombrel::testing_support

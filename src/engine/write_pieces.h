#pragma once

#include <algorithm>
#include <cstddef>

#include "platform/bytes.h"

namespace ombrel {

// Hands `bytes` to `send(data, count)` in pieces of at most `maxPiece` bytes,
// in order: a port takes at most 65535 bytes a call, a datagram a little less.
// False when `send` refused a piece; the pieces after it are not sent.
template <typename Send>
bool writeInPieces(const Bytes& bytes, std::size_t maxPiece, Send&& send) {
  for (std::size_t done = 0; done < bytes.size(); done += maxPiece) {
    if (!send(bytes.data() + done, std::min(maxPiece, bytes.size() - done))) return false;
  }
  return true;
}

}  // namespace ombrel

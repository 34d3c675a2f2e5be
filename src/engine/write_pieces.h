#pragma once

#include <algorithm>
#include <cstddef>

#include "platform/bytes.h"

namespace ombrel {

// Hands `bytes` to `send(data, count)` in pieces of at most `maxPiece` bytes,
// in order: a port takes at most 65535 bytes a call, a datagram a little less.
template <typename Send>
void writeInPieces(const Bytes& bytes, std::size_t maxPiece, Send&& send) {
  for (std::size_t done = 0; done < bytes.size(); done += maxPiece) {
    send(bytes.data() + done, std::min(maxPiece, bytes.size() - done));
  }
}

}  // namespace ombrel

#pragma once

// TaskStream: the worker's byte stream of the download and read-back tasks,
// with one read position. It keeps the last loaded file until another
// transfer replaces it.

#include <cstddef>
#include <cstdint>

#include "platform/bytes.h"

namespace ombrel {

class TaskStream {
 public:
  // Replaces the content; reading starts at 0.
  void load(Bytes bytes);
  std::size_t size() const { return bytes_.size(); }
  std::size_t position() const { return position_; }
  bool atEnd() const { return position_ >= bytes_.size(); }

  // The next `blockSize` bytes, the missing ones at the end filled with
  // `fill`; the position moves past the bytes really read.
  Bytes nextBlock(std::size_t blockSize, std::uint8_t fill = 0xFF);

 private:
  Bytes bytes_;
  std::size_t position_ = 0;
};

}  // namespace ombrel

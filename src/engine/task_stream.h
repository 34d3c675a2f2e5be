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

  // The next at most `count` bytes, nothing added; the position moves past them.
  Bytes nextBytes(std::size_t count);
  // Adds bytes at the end (a read-back collects its replies so).
  void append(const Bytes& bytes);
  const Bytes& bytes() const { return bytes_; }

  // The next `blockSize` bytes, the missing ones at the end filled with
  // `fill`; the position moves past the bytes really read.
  Bytes nextBlock(std::size_t blockSize, std::uint8_t fill = 0xFF);

 private:
  Bytes bytes_;
  std::size_t position_ = 0;
};

}  // namespace ombrel

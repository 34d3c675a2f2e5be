#include "engine/task_stream.h"

#include <algorithm>

namespace ombrel {

void TaskStream::load(Bytes bytes) {
  bytes_ = std::move(bytes);
  position_ = 0;
}

Bytes TaskStream::nextBytes(std::size_t count) {
  const std::size_t from = std::min(position_, bytes_.size());
  const std::size_t taken = std::min(count, bytes_.size() - from);
  position_ = from + taken;
  return Bytes(bytes_.begin() + static_cast<std::ptrdiff_t>(from),
               bytes_.begin() + static_cast<std::ptrdiff_t>(from + taken));
}

void TaskStream::append(const Bytes& bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }

Bytes TaskStream::nextBlock(std::size_t blockSize, std::uint8_t fill) {
  Bytes block(blockSize, fill);
  const std::size_t count = std::min(blockSize, bytes_.size() - std::min(position_, bytes_.size()));
  const auto from = bytes_.begin() + static_cast<std::ptrdiff_t>(position_);
  std::copy_n(from, count, block.begin());
  position_ += count;
  return block;
}

}  // namespace ombrel

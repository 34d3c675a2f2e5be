#include "protocol/reply_assembler.h"

#include "protocol/frame.h"

namespace ombrel {

void ReplyAssembler::reset() {
  position_ = 0;
  length_ = 0;
}

bool ReplyAssembler::assemble(const std::uint8_t* bytes, std::size_t count) {
  // Once a reply with data has been accepted, later chunks are not stored.
  if (length_ == 0) {
    for (std::size_t i = 0; i < count; ++i) {
      if (position_ > kBufferSize - 1) position_ = 0;
      if (position_ == 0) {
        if (bytes[i] == 0x02) buffer_[position_++] = 0x02;  // a frame starts only at 0x02
      } else {
        buffer_[position_++] = bytes[i];
      }
    }
  }
  if (position_ < frame::kHeadSize) return false;

  const std::size_t dataLength = buffer_[12] + 256u * buffer_[13];
  if (dataLength == 0) {
    if (!frame::headCheckOk(buffer_.data())) {
      position_ = 0;
      return false;
    }
    length_ = 0;
    return true;
  }
  if (position_ > dataLength + frame::kHeadSize) {
    if (!frame::headCheckOk(buffer_.data()) || frame::xorOf(buffer_.data() + frame::kHeadSize, dataLength + 1) != 0) {
      position_ = 0;
      return false;
    }
    length_ = dataLength;
    return true;
  }
  return false;
}

void ReplyAssembler::storeRaw(const std::uint8_t* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (position_ > kBufferSize - 1) position_ = 0;
    buffer_[position_++] = bytes[i];
  }
}

}  // namespace ombrel

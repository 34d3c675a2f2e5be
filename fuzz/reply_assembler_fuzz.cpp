// Reply assembly from byte streams cut at points the input chooses. An input
// whose first byte is even becomes a well-formed reply frame (after bytes that
// cannot start one): it must be found exactly when its last byte arrives,
// whole. Any other input is a stream of arbitrary bytes: whatever is accepted
// must be a frame whose checks hold, and nothing is written past the buffer.

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "fuzz_check.h"
#include "protocol/frame.h"
#include "protocol/reply_assembler.h"

namespace {

using ombrel::Bytes;
using ombrel::ReplyAssembler;
namespace frame = ombrel::frame;

// Chunk lengths of 1 to 64 bytes, taken in turn from the input's own bytes.
class Cuts {
 public:
  Cuts(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::size_t next() { return size_ == 0 ? 1 : 1 + data_[index_++ % size_] % 64; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t index_ = 0;
};

std::uint32_t word(const std::uint8_t* data, std::size_t size, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(at + i < size ? data[at + i] : 0) << (8 * i);
  return value;
}

void wellFormedReply(const std::uint8_t* data, std::size_t size) {
  const std::size_t noise = size > 1 ? data[1] % 8 : 0;
  const std::size_t dataStart = std::min<std::size_t>(size, 12);
  const std::size_t dataLength = std::min(size - dataStart, frame::kMaxReadBlockData);
  const Bytes replyData(data + dataStart, data + dataStart + dataLength);
  const Bytes reply = frame::build(static_cast<std::uint16_t>(word(data, size, 2)), word(data, size, 4),
                                   word(data, size, 8), replyData, true);
  Bytes stream(noise, 0x55);
  stream.insert(stream.end(), reply.begin(), reply.end());

  ReplyAssembler assembler;
  Cuts cuts(data, size);
  for (std::size_t sent = 0; sent < stream.size();) {
    const std::size_t chunk = std::min(cuts.next(), stream.size() - sent);
    const bool found = assembler.assemble(stream.data() + sent, chunk);
    sent += chunk;
    FUZZ_CHECK(found == (sent == stream.size()));
  }
  FUZZ_CHECK(assembler.length() == replyData.size());
  FUZZ_CHECK(std::memcmp(assembler.buffer().data(), reply.data(), reply.size()) == 0);
}

void arbitraryStream(const std::uint8_t* data, std::size_t size) {
  ReplyAssembler assembler;
  Cuts cuts(data, size);
  for (std::size_t sent = 0; sent < size;) {
    const std::size_t chunk = std::min(cuts.next(), size - sent);
    const bool found = assembler.assemble(data + sent, chunk);
    sent += chunk;
    FUZZ_CHECK(assembler.position() <= ReplyAssembler::kBufferSize);
    if (!found) continue;
    const auto& buffer = assembler.buffer();
    FUZZ_CHECK(frame::headCheckOk(buffer.data()));
    const std::size_t length = frame::readHead(buffer.data()).length;
    FUZZ_CHECK(assembler.length() == length);
    if (length > 0) {
      FUZZ_CHECK(assembler.position() > frame::kHeadSize + length);
      FUZZ_CHECK(frame::xorOf(buffer.data() + frame::kHeadSize, length + 1) == 0);
    }
  }
  assembler.reset();
  assembler.storeRaw(data, size);
  FUZZ_CHECK(assembler.position() <= ReplyAssembler::kBufferSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  if (data[0] % 2 == 0) {
    wellFormedReply(data, size);
  } else {
    arbitraryStream(data, size);
  }
  return 0;
}

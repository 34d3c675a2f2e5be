#pragma once

// Finds the printer's reply frame in the bytes that a byte-stream link (serial
// or USB) delivers, chunk by chunk. Pure state machine, no locking: the
// engine's ReplyChannel guards it.

#include <array>
#include <cstddef>
#include <cstdint>

namespace ombrel {

class ReplyAssembler {
 public:
  static constexpr std::size_t kBufferSize = 4096;

  // Forgets everything, as before each transmission.
  void reset();

  // Offers one delivered chunk. Returns true when it completed a valid frame
  // (the reply event is then to be signalled).
  bool assemble(const std::uint8_t* bytes, std::size_t count);

  // Raw receive (boot handshake): appends the bytes unparsed. The position
  // wraps to 0 at the end of the buffer, so nothing is ever written past it.
  void storeRaw(const std::uint8_t* bytes, std::size_t count);

  std::size_t position() const { return position_; }
  std::size_t length() const { return length_; }
  const std::array<std::uint8_t, kBufferSize>& buffer() const { return buffer_; }
  std::array<std::uint8_t, kBufferSize>& buffer() { return buffer_; }

 private:
  std::array<std::uint8_t, kBufferSize> buffer_{};
  std::size_t position_ = 0;
  std::size_t length_ = 0;
};

}  // namespace ombrel

#pragma once

// The time a serial line needs: each byte takes ten bits (start bit, eight
// data bits, stop bit) at the line rate. Pure arithmetic on real time, for the
// pacing of the pseudo-terminal transport.

#include <chrono>
#include <cstddef>
#include <cstdint>

namespace ombrel::vprinter {

inline constexpr unsigned kBitsPerByte = 10;

std::chrono::nanoseconds byteTime(std::uint32_t rate);
std::chrono::nanoseconds lineTime(std::size_t count, std::uint32_t rate);

// About one millisecond of line time, at least one byte: paced bytes move in
// steps of this size.
std::size_t paceStep(std::uint32_t rate);

// One direction of a line: it carries one byte after the other.
class LineDirection {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  // `count` bytes handed to the line at `from` have all crossed it at the
  // returned time. While the line is still busy they follow the bytes before
  // them without a gap.
  TimePoint carry(std::size_t count, TimePoint from, std::uint32_t rate);

 private:
  TimePoint freeAt_{};
};

}  // namespace ombrel::vprinter

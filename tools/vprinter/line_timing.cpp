#include "line_timing.h"

#include <algorithm>

namespace ombrel::vprinter {

std::chrono::nanoseconds byteTime(std::uint32_t rate) { return lineTime(1, rate); }

std::chrono::nanoseconds lineTime(std::size_t count, std::uint32_t rate) {
  const std::uint64_t bits = std::uint64_t{count} * kBitsPerByte;
  return std::chrono::nanoseconds(bits * 1'000'000'000ull / std::max<std::uint32_t>(rate, 1));
}

std::size_t paceStep(std::uint32_t rate) { return std::max<std::size_t>(1, rate / kBitsPerByte / 1000); }

LineDirection::TimePoint LineDirection::carry(std::size_t count, TimePoint from, std::uint32_t rate) {
  freeAt_ = std::max(freeAt_, from) + lineTime(count, rate);
  return freeAt_;
}

}  // namespace ombrel::vprinter

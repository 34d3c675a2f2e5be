#include "texts/ini_integer.h"

#include "platform/bytes.h"

namespace ombrel {

std::optional<std::int32_t> iniInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.starts_with('$')) {
    base = 16;
    text.remove_prefix(1);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  }
  // Hex texts are 32-bit patterns; decimal ones must fit the signed range.
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFu : (negative ? 0x80000000u : 0x7FFFFFFFu);
  if (text.empty()) return std::nullopt;
  std::uint64_t magnitude = 0;
  for (char c : text) {
    const int digit = hexValue(c);
    if (digit < 0 || digit >= base) return std::nullopt;
    magnitude = magnitude * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    if (magnitude > limit) return std::nullopt;
  }
  const auto pattern = static_cast<std::uint32_t>(negative ? 0u - magnitude : magnitude);
  return static_cast<std::int32_t>(pattern);
}

}  // namespace ombrel

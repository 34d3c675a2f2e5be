#include "commands/number_text.h"

#include <charconv>

namespace ombrel {

std::optional<std::int32_t> wholeNumber(const std::string& text) {
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  if (begin != end && *begin == '+') ++begin;
  std::int32_t value = 0;
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (begin == end || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::int32_t wholeNumberOr(const std::string& text, std::int32_t otherwise) {
  return wholeNumber(text).value_or(otherwise);
}

std::optional<std::uint32_t> hexNumber(const std::string& text) {
  const char* end = text.data() + text.size();
  std::uint32_t value = 0;
  const auto [stop, error] = std::from_chars(text.data(), end, value, 16);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::string notANumberMessage(const std::string& text) { return "'" + text + "' is not a valid integer value"; }

}  // namespace ombrel

#include "app/link_text.h"

#include <charconv>

namespace ombrel::app {

namespace {
constexpr int kDefaultHostPort = 5100;
}

std::optional<int> parseWholeNumber(const std::string& text) {
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  // from_chars takes a minus sign but no plus sign.
  if (begin != end && *begin == '+') ++begin;
  int value = 0;
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (begin == end || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

int hostPortFromText(const std::string& text) { return parseWholeNumber(text).value_or(kDefaultHostPort); }

}  // namespace ombrel::app

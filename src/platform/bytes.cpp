#include "platform/bytes.h"

namespace ombrel {

std::string toHex(const std::uint8_t* data, std::size_t count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(count * 3);
  for (std::size_t i = 0; i < count; ++i) {
    if (i != 0) out += ' ';
    out += kDigits[data[i] >> 4];
    out += kDigits[data[i] & 0x0F];
  }
  return out;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool parseHex(std::string_view text, Bytes& out) {
  out.clear();
  int high = -1;
  for (char c : text) {
    if (c == ' ' || c == ':' || c == ',' || c == '\t') {
      if (high >= 0) return false;
      continue;
    }
    const int value = hexValue(c);
    if (value < 0) return false;
    if (high < 0) {
      high = value;
    } else {
      out.push_back(static_cast<std::uint8_t>(high * 16 + value));
      high = -1;
    }
  }
  return high < 0;
}

}  // namespace ombrel

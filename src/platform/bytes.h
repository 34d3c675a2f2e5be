#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ombrel {

using Bytes = std::vector<std::uint8_t>;

// Upper-case hex, bytes separated by one blank ("02 00 31").
std::string toHex(const std::uint8_t* data, std::size_t count);
inline std::string toHex(const Bytes& bytes) { return toHex(bytes.data(), bytes.size()); }

// Parses hex digits, blanks and ':' or ',' separators allowed between bytes.
// Returns false on an odd digit count or a character that is not hex.
bool parseHex(std::string_view text, Bytes& out);
// The value of one hexadecimal digit, either case; -1 for any other character.
int hexValue(char c);

inline Bytes bytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

}  // namespace ombrel

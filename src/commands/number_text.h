#pragma once

// Whole numbers typed into the windows' boxes.

#include <cstdint>
#include <optional>
#include <string>

namespace ombrel {

// A 32-bit signed decimal number (an optional sign, digits, nothing else).
std::optional<std::int32_t> wholeNumber(const std::string& text);

// The same, or `otherwise` when the text is not such a number.
std::int32_t wholeNumberOr(const std::string& text, std::int32_t otherwise);

// A 32-bit number typed as hexadecimal digits without prefix ("1F000").
std::optional<std::uint32_t> hexNumber(const std::string& text);

// The message shown when a box does not hold a number.
std::string notANumberMessage(const std::string& text);

}  // namespace ombrel

#pragma once

// The numbers that the main window's link boxes hold as text.

#include <optional>
#include <string>

namespace ombrel::app {

// The value of a text that is a whole number in decimal (an optional sign,
// digits, nothing else) and fits 32 bits; nullopt otherwise.
std::optional<int> parseWholeNumber(const std::string& text);

// The printer's UDP port from the port box: 5100 when the text is not a
// whole number.
int hostPortFromText(const std::string& text);

}  // namespace ombrel::app

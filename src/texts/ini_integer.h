#pragma once

// How initialisation files read an integer: decimal, "$" hex or "0x" hex,
// with an optional sign; hex texts of up to eight digits are 32-bit patterns
// ("$FFFFFFFF" is -1). The settings file, the window's load and ombrelctl's
// --set all read integers through it, so a text means the same everywhere.

#include <cstdint>
#include <optional>
#include <string_view>

namespace ombrel {

// The integer `text` stands for, or nothing when it is not one.
std::optional<std::int32_t> iniInteger(std::string_view text);

}  // namespace ombrel

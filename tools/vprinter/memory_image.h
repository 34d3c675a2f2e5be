#pragma once

// The printer memory at start: the address pattern, with the content of a
// memory file laid over it from address 0.

#include <cstddef>
#include <optional>
#include <string>

#include "platform/bytes.h"

namespace ombrel::vprinter {

// `size` unset: the default size, or the file's size when that is larger.
// Throws std::runtime_error when the file cannot be read or does not fit.
Bytes initialMemory(std::optional<std::size_t> size, const std::string& file);

}  // namespace ombrel::vprinter

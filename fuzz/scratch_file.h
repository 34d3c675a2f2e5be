#pragma once

// The readers of stored files take a path: fuzz inputs go through one file in
// a directory of this process's own, removed when the process ends normally.

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace ombrel::fuzz {

// Writes `size` bytes to the scratch file and returns its path.
std::filesystem::path writeScratchFile(const std::uint8_t* data, std::size_t size);

}  // namespace ombrel::fuzz

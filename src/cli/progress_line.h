#pragma once

// The one line that ombrelctl rewrites on a terminal while a transfer runs:
// a bar, the per cent done, the phase, the time left once it is estimated
// and the latest status text.

#include <cstdint>
#include <optional>
#include <string>

#include "engine/transfer_progress.h"

namespace ombrel::cli {

std::string progressLine(const TransferProgress& progress, std::optional<std::int64_t> msLeft,
                         const std::string& status, int language);

}  // namespace ombrel::cli

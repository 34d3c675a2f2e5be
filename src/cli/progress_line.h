#pragma once

// The one line that ombrelctl rewrites on a terminal while a transfer runs:
// a bar, the per cent done, the phase and the latest status text.

#include <string>

#include "engine/transfer_progress.h"

namespace ombrel::cli {

std::string progressLine(const TransferProgress& progress, const std::string& status, int language);

}  // namespace ombrel::cli

#include "cli/progress_line.h"

#include <cstdio>

#include "commands/transfer_texts.h"

namespace ombrel::cli {

namespace {
constexpr int kBarWidth = 24;
}

std::string progressLine(const TransferProgress& progress, std::optional<std::int64_t> msLeft,
                         const std::string& status, int language) {
  const int permille = progress.permille();
  const int filled = permille * kBarWidth / 1000;
  std::string line = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                     std::string(static_cast<std::size_t>(kBarWidth - filled), '.') + "] ";
  char percent[16];
  std::snprintf(percent, sizeof percent, "%3d.%d%% ", permille / 10, permille % 10);
  line += percent + transferPhaseText(progress, msLeft, language);
  if (!status.empty()) line += "  " + status;
  return line;
}

}  // namespace ombrel::cli

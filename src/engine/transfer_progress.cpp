#include "engine/transfer_progress.h"

#include <algorithm>

namespace ombrel {

int TransferProgress::permille() const {
  if (total <= 0) return 0;
  return static_cast<int>(std::clamp<std::int64_t>(done * 1000 / total, 0, 1000));
}

std::int64_t TransferProgress::secondsLeft() const { return std::max<std::int64_t>(0, (total - done + 999) / 1000); }

}  // namespace ombrel

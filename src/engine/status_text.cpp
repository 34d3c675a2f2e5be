#include "engine/status_text.h"

#include <cstdio>

namespace ombrel {

std::string progressText(const std::string& text, std::int64_t done, std::int64_t total) {
  if (total == 0) return text;
  std::int64_t permille = done * 1000 / total;
  if (permille > 1000) permille = 1000;
  char progress[96];
  std::snprintf(progress, sizeof progress, "Finish %d.%d%%(%d/%d)", static_cast<int>(permille / 10),
                static_cast<int>(permille % 10), static_cast<int>(done >> 8), static_cast<int>(total >> 8));
  return text + progress;
}

bool StatusThrottle::shouldPost(std::int64_t nowMs, std::int64_t done, std::int64_t total) {
  if (nowMs - lastPostMs_ > kIntervalMs || done >= total) {
    lastPostMs_ = nowMs;
    return true;
  }
  return false;
}

}  // namespace ombrel

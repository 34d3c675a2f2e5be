#pragma once

#include <cstdint>
#include <string>

namespace ombrel {

// The status text that ReportStatus shows: the text alone when total is 0,
// otherwise followed by "Finish %d.%d%%(%d/%d)" with the per-mille done
// (limited to 1000) and both counts in units of 256.
std::string progressText(const std::string& text, std::int64_t done, std::int64_t total);

// Whether a status change is posted to the front end now: always when total
// is 0 or done has reached total, otherwise only when more than 70 ms have
// passed since the last post.
class StatusThrottle {
 public:
  static constexpr std::int64_t kIntervalMs = 70;
  bool shouldPost(std::int64_t nowMs, std::int64_t done, std::int64_t total);

 private:
  std::int64_t lastPostMs_ = INT64_MIN / 2;
};

}  // namespace ombrel

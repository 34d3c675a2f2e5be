#include "commands/time_left.h"

#include "protocol/codes.h"

namespace ombrel {

namespace {
// The printer takes a new program this long after a raw firmware stream; the
// engine waits it out as the PrinterRestarting phase.
constexpr std::int64_t kRawStreamRestartWaitMs = 26000;
// The rate of the first moments says little: one block's pause, one report
// that reached the window late.
constexpr std::int64_t kMeasuredAtLeastMs = 2000;

bool measuresBytes(TransferPhase phase) { return phase == TransferPhase::Sending || phase == TransferPhase::Receiving; }
}  // namespace

std::int64_t waitAfterSendingMs(int taskCode) {
  return taskCode == kTaskRawProgramTransfer ? kRawStreamRestartWaitMs : 0;
}

void TimeLeftEstimate::start(int taskCode) {
  *this = TimeLeftEstimate{};
  waitAfterSendingMs_ = waitAfterSendingMs(taskCode);
}

std::optional<std::int64_t> TimeLeftEstimate::take(const TransferProgress& progress, std::int64_t nowMs) {
  if (progress.phase == TransferPhase::Ended) {
    // A task started without start() gets no wait of this one's.
    *this = TimeLeftEstimate{};
    return std::nullopt;
  }
  const auto left = estimate(progress, nowMs);
  if (left && *left > kShownAboveMs) shown_ = true;
  // Once shown it stays to the end, so that it neither flickers while the
  // rate wavers around the threshold nor vanishes just as it counts down.
  return shown_ ? left : std::nullopt;
}

std::optional<std::int64_t> TimeLeftEstimate::estimate(const TransferProgress& progress, std::int64_t nowMs) {
  if (progress.phase == TransferPhase::PrinterRestarting) return progress.total - progress.done;
  if (!measuresBytes(progress.phase) || progress.total <= 0) return std::nullopt;
  // A new phase, or the next file of a list download (its count starts
  // again), is measured from its own first report.
  if (!first_ || first_->phase != progress.phase || first_->total != progress.total || progress.done < lastDone_) {
    first_ = progress;
    firstAtMs_ = nowMs;
  }
  lastDone_ = progress.done;
  const std::int64_t bytes = progress.done - first_->done;
  const std::int64_t elapsed = nowMs - firstAtMs_;
  if (bytes <= 0 || elapsed < kMeasuredAtLeastMs) return std::nullopt;
  const std::int64_t toGo = progress.total - progress.done;
  const std::int64_t after = progress.phase == TransferPhase::Sending ? waitAfterSendingMs_ : 0;
  return toGo * elapsed / bytes + after;
}

}  // namespace ombrel

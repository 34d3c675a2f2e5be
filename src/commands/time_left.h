#pragma once

// The time left of a long transfer, estimated from the rate measured so far
// (from 2 s of measuring on): the bytes still to go at that rate, plus what remains of the waits that
// are known to follow. It reads no clock itself: the front end passes the
// protocol time of each report, from the clock the engine waits on, so that
// a scaled test clock gives the unscaled figure.

#include <cstdint>
#include <optional>

#include "engine/transfer_progress.h"

namespace ombrel {

// The wait that follows the sending of a task's file and is known before the
// first byte goes: the printer's restart after a raw firmware stream; 0 for
// every other task.
std::int64_t waitAfterSendingMs(int taskCode);

class TimeLeftEstimate {
 public:
  // Shorter estimates are not worth reading.
  static constexpr std::int64_t kShownAboveMs = 10000;

  // A transfer of `taskCode` begins: nothing measured yet. The end of a
  // transfer forgets it all again.
  void start(int taskCode);
  // One report, taken at protocol time nowMs. The time left in milliseconds
  // once an estimate has passed kShownAboveMs in this transfer, and for as
  // long as there is an estimate from then on; nullopt otherwise.
  std::optional<std::int64_t> take(const TransferProgress& progress, std::int64_t nowMs);

 private:
  std::optional<std::int64_t> estimate(const TransferProgress& progress, std::int64_t nowMs);

  std::int64_t waitAfterSendingMs_ = 0;
  // The first report of the phase being measured: the rate runs from here.
  std::optional<TransferProgress> first_;
  std::int64_t firstAtMs_ = 0;
  std::int64_t lastDone_ = 0;
  bool shown_ = false;
};

}  // namespace ombrel

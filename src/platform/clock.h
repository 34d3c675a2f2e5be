#pragma once

#include <chrono>
#include <cstdint>

namespace ombrel {

// Every protocol wait and pause goes through a Clock, so tests can run the
// 3000 ms reply waits and 26 s pauses scaled down. Durations are given in
// protocol milliseconds; the clock decides how long they really take.
class Clock {
 public:
  virtual ~Clock() = default;
  // Protocol milliseconds elapsed since an arbitrary fixed point.
  virtual std::int64_t nowMs() const = 0;
  virtual void sleepMs(std::int64_t ms) = 0;
  // Real duration of a protocol wait of ms milliseconds.
  virtual std::chrono::nanoseconds realDuration(std::int64_t ms) const = 0;
};

// Runs protocol time `factor` times faster than real time (1 = real time).
class ScaledClock final : public Clock {
 public:
  explicit ScaledClock(double factor = 1.0);
  std::int64_t nowMs() const override;
  void sleepMs(std::int64_t ms) override;
  std::chrono::nanoseconds realDuration(std::int64_t ms) const override;
  double factor() const { return factor_; }

  // In a test build (BUILD_TESTING), the factor named by the environment
  // variable OMBREL_TIME_SCALE, 1 when unset or invalid; the test suites set
  // it to run waits faster. Otherwise always 1: a variable left in an
  // operator's environment must not shorten the waits on a real printer.
  static double factorFromEnvironment();

 private:
  double factor_;
  std::chrono::steady_clock::time_point origin_;
};

}  // namespace ombrel

#include "platform/clock.h"

#include <cstdlib>
#include <thread>

namespace ombrel {

ScaledClock::ScaledClock(double factor)
    : factor_(factor > 0 ? factor : 1.0), origin_(std::chrono::steady_clock::now()) {}

std::int64_t ScaledClock::nowMs() const {
  const auto real = std::chrono::steady_clock::now() - origin_;
  const double ms = std::chrono::duration<double, std::milli>(real).count() * factor_;
  return static_cast<std::int64_t>(ms);
}

void ScaledClock::sleepMs(std::int64_t ms) {
  if (ms > 0) std::this_thread::sleep_for(realDuration(ms));
}

std::chrono::nanoseconds ScaledClock::realDuration(std::int64_t ms) const {
  if (ms <= 0) return std::chrono::nanoseconds(0);
  const double ns = static_cast<double>(ms) * 1e6 / factor_;
  return std::chrono::nanoseconds(static_cast<std::int64_t>(ns));
}

double ScaledClock::factorFromEnvironment() {
#ifdef OMBREL_TEST_CLOCK
  const char* text = std::getenv("OMBREL_TIME_SCALE");
  if (text == nullptr) return 1.0;
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || *end != '\0' || !(value > 0) || value > 1000) return 1.0;
  return value;
#else
  return 1.0;
#endif
}

}  // namespace ombrel

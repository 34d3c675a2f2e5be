#pragma once

// Cuts the byte stream of a serial line into the units the printer acts on
// and the logs show: each frame, and each run of raw bytes that arrived
// together. Raw sequences carry no framing, so a raw unit ends when the line
// has been idle for a short gap, when a frame follows, or when the printer
// answers the byte just taken (the boot loader answers each handshake byte).
// Pure: the caller says when bytes arrived and what time it is. Each unit is
// handed on the moment it is complete, so the printer has acted on it before
// the next byte is looked at.

#include <chrono>
#include <functional>
#include <optional>

#include "platform/bytes.h"

namespace ombrel::vprinter {

class StreamUnits {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;
  // Whether the printer answers the raw bytes gathered so far at once.
  using AnswersAtOnce = std::function<bool(const Bytes& raw)>;
  using UnitHandler = std::function<void(const Bytes& unit)>;

  StreamUnits(std::chrono::nanoseconds idleGap, AnswersAtOnce answersAtOnce, UnitHandler onUnit);

  // Bytes that arrived at `now`; hands on the units they complete, in order.
  void take(const Bytes& bytes, TimePoint now);
  // When the bytes held become a unit for want of more; nullopt when none are held.
  std::optional<TimePoint> idleDeadline() const;
  // Hands on the bytes held, as one raw unit, once the line has been idle for the gap.
  void idle(TimePoint now);
  // Hands on the bytes held, as one raw unit, at once: the line was interrupted.
  void flush();

 private:
  bool holding() const { return !raw_.empty() || !held_.empty(); }

  std::chrono::nanoseconds idleGap_;
  AnswersAtOnce answersAtOnce_;
  UnitHandler onUnit_;
  Bytes raw_;   // raw bytes of the unit being gathered
  Bytes held_;  // not yet split: perhaps the start of a frame
  TimePoint lastArrival_{};
};

}  // namespace ombrel::vprinter

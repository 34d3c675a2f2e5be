#include "stream_units.h"

#include <utility>

#include "stream_splitter.h"

namespace ombrel::vprinter {

StreamUnits::StreamUnits(std::chrono::nanoseconds idleGap, AnswersAtOnce answersAtOnce, UnitHandler onUnit)
    : idleGap_(idleGap), answersAtOnce_(std::move(answersAtOnce)), onUnit_(std::move(onUnit)) {}

void StreamUnits::take(const Bytes& bytes, TimePoint now) {
  if (bytes.empty()) return;
  lastArrival_ = now;
  held_.insert(held_.end(), bytes.begin(), bytes.end());
  std::size_t used = 0;
  for (;;) {
    const Split split = splitStream(held_.data() + used, held_.size() - used);
    if (split.piece == Piece::NeedMore) break;
    const auto begin = held_.begin() + static_cast<std::ptrdiff_t>(used);
    const auto end = begin + static_cast<std::ptrdiff_t>(split.length);
    if (split.piece == Piece::Frame) {
      if (!raw_.empty()) onUnit_(std::exchange(raw_, Bytes()));
      onUnit_(Bytes(begin, end));
    } else {
      for (auto byte = begin; byte != end; ++byte) {
        raw_.push_back(*byte);
        if (answersAtOnce_ && answersAtOnce_(raw_)) onUnit_(std::exchange(raw_, Bytes()));
      }
    }
    used += split.length;
  }
  held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(used));
}

std::optional<StreamUnits::TimePoint> StreamUnits::idleDeadline() const {
  if (!holding()) return std::nullopt;
  return lastArrival_ + idleGap_;
}

void StreamUnits::idle(TimePoint now) {
  if (holding() && now >= lastArrival_ + idleGap_) flush();
}

void StreamUnits::flush() {
  if (!holding()) return;
  Bytes unit = std::exchange(raw_, Bytes());
  unit.insert(unit.end(), held_.begin(), held_.end());
  held_.clear();
  onUnit_(unit);
}

}  // namespace ombrel::vprinter

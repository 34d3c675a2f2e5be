#include "stream_units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "protocol/frame.h"

namespace ombrel::vprinter {
namespace {

using namespace std::chrono_literals;
using Units = std::vector<std::string>;

const StreamUnits::TimePoint kStart{};

// Sized first and filled by copying: growing a copy by insert() makes GCC 12
// at -O2 warn of an out-of-bounds memcpy that cannot happen.
Bytes concat(const Bytes& first, const Bytes& second) {
  Bytes all(first.size() + second.size());
  std::copy(second.begin(), second.end(), std::copy(first.begin(), first.end(), all.begin()));
  return all;
}

// The units handed on, as hex, taken out at each look.
class Collected {
 public:
  StreamUnits::UnitHandler handler() {
    return [this](const Bytes& unit) { units_.push_back(toHex(unit)); };
  }
  Units take() { return std::exchange(units_, Units()); }

 private:
  Units units_;
};

TEST(StreamUnits, RawBytesThatArriveTogetherAreOneUnitOnceTheLineIsIdle) {
  Collected got;
  StreamUnits units(5ms, nullptr, got.handler());
  units.take({0x1F, 0x49}, kStart);
  units.take({0x0A, 0x00, 0x00, 0x05}, kStart + 2ms);
  EXPECT_EQ(got.take(), Units{});
  EXPECT_EQ(units.idleDeadline(), kStart + 7ms);
  units.idle(kStart + 6ms);
  EXPECT_EQ(got.take(), Units{});
  units.idle(kStart + 7ms);
  EXPECT_EQ(got.take(), (Units{"1F 49 0A 00 00 05"}));
  EXPECT_FALSE(units.idleDeadline());
  units.take({0x8D, 0x01}, kStart + 20ms);
  units.flush();
  EXPECT_EQ(got.take(), (Units{"8D 01"}));
}

TEST(StreamUnits, FrameEndsTheRawUnitBeforeIt) {
  const Bytes frame = frame::build(141, 0, 0, {0x01}, true);
  Collected got;
  StreamUnits units(5ms, nullptr, got.handler());
  units.take(concat({0x8D, 0x00}, frame), kStart);
  EXPECT_EQ(got.take(), (Units{"8D 00", toHex(frame)}));
  EXPECT_FALSE(units.idleDeadline());
}

TEST(StreamUnits, FrameInPiecesIsOneUnit) {
  const Bytes frame = frame::build(48, 0, 0, {1, 2, 4, 8, 16, 32, 64, 128}, true);
  Collected got;
  StreamUnits units(5ms, nullptr, got.handler());
  units.take(Bytes(frame.begin(), frame.begin() + 10), kStart);
  EXPECT_EQ(got.take(), Units{});
  units.take(Bytes(frame.begin() + 10, frame.end()), kStart + 1ms);
  EXPECT_EQ(got.take(), (Units{toHex(frame)}));
}

TEST(StreamUnits, FrameStartLeftIncompleteBecomesRawWithWhatCameBefore) {
  Collected got;
  StreamUnits units(5ms, nullptr, got.handler());
  units.take({0x1F, 0x49, 0x02, 0x00, 0x0A}, kStart);
  units.idle(kStart + 5ms);
  EXPECT_EQ(got.take(), (Units{"1F 49 02 00 0A"}));
}

TEST(StreamUnits, UnitEndsAtEachByteThePrinterAnswersAtOnce) {
  // A printer that answers from the third byte on; it counts what it was handed.
  std::size_t handed = 0;
  Units got;
  StreamUnits units(
      5ms, [&handed](const Bytes& raw) { return handed + raw.size() >= 3; },
      [&](const Bytes& unit) {
        handed += unit.size();
        got.push_back(toHex(unit));
      });
  units.take({0x61, 0x61}, kStart);
  EXPECT_EQ(got, Units{});
  units.take({0x61, 0x61, 0x61}, kStart + 1ms);
  EXPECT_EQ(got, (Units{"61 61 61", "61", "61"}));
  EXPECT_FALSE(units.idleDeadline());
}

}  // namespace
}  // namespace ombrel::vprinter

#include "line_timing.h"

#include <gtest/gtest.h>

namespace ombrel::vprinter {
namespace {

using namespace std::chrono_literals;

TEST(LineTiming, TenBitsAByte) {
  EXPECT_EQ(byteTime(9600), 1041666ns);
  EXPECT_EQ(lineTime(289, 115200), 25086805ns);
  EXPECT_EQ(paceStep(115200), 11u);
  EXPECT_EQ(paceStep(9600), 1u);
  EXPECT_EQ(paceStep(1200), 1u);
}

TEST(LineTiming, BytesFollowEachOtherWhileTheLineIsBusy) {
  LineDirection line;
  const LineDirection::TimePoint start{};
  EXPECT_EQ(line.carry(10, start, 10000), start + 10ms);
  // Handed over while the line is still busy: they go out right after.
  EXPECT_EQ(line.carry(5, start + 2ms, 10000), start + 15ms);
  // Handed over to an idle line: they start at once.
  EXPECT_EQ(line.carry(1, start + 40ms, 10000), start + 41ms);
}

}  // namespace
}  // namespace ombrel::vprinter

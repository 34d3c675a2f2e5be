#include "engine/baud.h"

#include <gtest/gtest.h>

namespace ombrel {
namespace {

TEST(BaudIndex, MapsEveryKnownRateAndBack) {
  const std::pair<int, int> table[] = {{9600, 0}, {19200, 1}, {38400, 2}, {57600, 3}, {115200, 4},
                                       {1200, 5}, {2400, 6},  {4800, 7},  {230400, 8}};
  for (const auto& [rate, index] : table) {
    EXPECT_EQ(baudIndex(rate), index) << rate;
    EXPECT_EQ(rateOfBaudIndex(index), rate) << index;
  }
}

TEST(BaudIndex, UnknownRatesAndCodesFallBack) {
  EXPECT_EQ(baudIndex(14400), 0);
  EXPECT_EQ(baudIndex(0), 0);
  EXPECT_EQ(rateOfBaudIndex(9), 9600);
  EXPECT_EQ(rateOfBaudIndex(-1), 9600);
}

}  // namespace
}  // namespace ombrel

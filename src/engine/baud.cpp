#include "engine/baud.h"

#include <array>

namespace ombrel {

namespace {
constexpr std::array<int, 9> kRateOfIndex = {9600, 19200, 38400, 57600, 115200, 1200, 2400, 4800, 230400};
}

int baudIndex(int rate) {
  for (std::size_t i = 0; i < kRateOfIndex.size(); ++i) {
    if (kRateOfIndex[i] == rate) return static_cast<int>(i);
  }
  return 0;
}

int rateOfBaudIndex(int index) {
  if (index < 0 || index >= static_cast<int>(kRateOfIndex.size())) return 9600;
  return kRateOfIndex[static_cast<std::size_t>(index)];
}

}  // namespace ombrel

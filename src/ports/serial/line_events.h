#pragma once

// Line events from the driver's running counters: the port is watched by
// sampling its counters, and what changed between two samples becomes the
// error and modem notices.

#include <cstdint>

namespace ombrel {

// Running totals kept by the serial driver since the port was opened.
struct LineCounters {
  std::uint32_t carrierChanges = 0;
  std::uint32_t rings = 0;
  std::uint32_t frameErrors = 0;
  std::uint32_t overruns = 0;
  std::uint32_t parityErrors = 0;
  std::uint32_t breaks = 0;
  std::uint32_t bufferOverruns = 0;
};

// Bits of OnModemStateChange.
inline constexpr std::uint32_t kModemRing = 4;
inline constexpr std::uint32_t kModemCarrierChanged = 8;

// Bits of OnReceiveError, with the values that the port's line-error report
// has always used.
inline constexpr std::uint32_t kLineErrorInputOverflow = 0x0001;
inline constexpr std::uint32_t kLineErrorOverrun = 0x0002;
inline constexpr std::uint32_t kLineErrorParity = 0x0004;
inline constexpr std::uint32_t kLineErrorFrame = 0x0008;
inline constexpr std::uint32_t kLineErrorBreak = 0x0010;

struct LineEvents {
  std::uint32_t errorBits = 0;
  std::uint32_t modemBits = 0;
};

LineEvents lineEventsBetween(const LineCounters& before, const LineCounters& after);

}  // namespace ombrel

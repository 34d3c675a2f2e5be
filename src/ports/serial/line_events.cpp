#include "ports/serial/line_events.h"

namespace ombrel {

LineEvents lineEventsBetween(const LineCounters& before, const LineCounters& after) {
  // Counters only grow (and wrap), so any difference is an event.
  const auto bitIf = [](std::uint32_t was, std::uint32_t now, std::uint32_t bit) { return was != now ? bit : 0u; };
  LineEvents events;
  events.errorBits = bitIf(before.bufferOverruns, after.bufferOverruns, kLineErrorInputOverflow) |
                     bitIf(before.overruns, after.overruns, kLineErrorOverrun) |
                     bitIf(before.parityErrors, after.parityErrors, kLineErrorParity) |
                     bitIf(before.frameErrors, after.frameErrors, kLineErrorFrame) |
                     bitIf(before.breaks, after.breaks, kLineErrorBreak);
  events.modemBits = bitIf(before.carrierChanges, after.carrierChanges, kModemCarrierChanged) |
                     bitIf(before.rings, after.rings, kModemRing);
  return events;
}

}  // namespace ombrel

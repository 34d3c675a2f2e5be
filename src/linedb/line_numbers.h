#pragma once

// The line's serial numbers on its server: one counter per line, and every
// number handed out recorded with the station and slot that hold it. Each
// call is one short transaction or statement; none stays open while a
// printer is written. The line's counter row is locked while a number is
// taken, so that stations take one after the other: with every write
// passing, the numbers are consecutive in the order the takes happen.

#include <chrono>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>

#include "linedb/line_db.h"

namespace ombrel {

// Numbers step within 0 to this, as a printer keeps them.
inline constexpr std::int64_t kLineLastNumber = std::numeric_limits<std::int32_t>::max();
// A number held longer than this without being settled is marked unknown:
// its station may have been killed mid-write.
inline constexpr std::chrono::seconds kLineNumberLease{60};

// What became of a number a station took.
enum class LineNumberEnd { Committed, GivenBack, Unknown };

// The line's counter steps the other way than this station's direction.
class LineDirectionRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Makes the line's counter from `first` and `step` when the line has none.
// Raises LineDirectionRefused (text in `language`: 1 English, else Chinese)
// when the line's counter steps the other way.
void openLineCounter(LineDb& db, const std::string& line, std::int64_t first, int step, int language);

struct LineTake {
  std::optional<std::uint32_t> number;  // nothing when the numbers are used up
  std::int64_t holding = 0;             // this holding's own id, by which it is settled
  std::int64_t nextShown = 0;           // what the line hands out next, as of this take
};

// First marks the numbers held past the lease as unknown; then takes the
// line's first given-back number in the steps' direction, else the next,
// as held by `station` and `slot`.
LineTake takeLineNumber(LineDb& db, const std::string& line, const std::string& station, const std::string& slot);

// Settles a holding that is still held (or was marked unknown for want of
// news): committed, given back (handed out next) or unknown (never again). A
// given-back number taken again is a new holding, so a late or repeated
// settle of the old one changes nothing. Returns what the line hands out next.
std::int64_t settleLineNumber(LineDb& db, const std::string& line, std::int64_t holding, LineNumberEnd end);

// Records a rework write: a printer back from repair is written its number
// again. False, recording nothing, when the line never handed `number` out
// to a printer (it has no such number, or the number is held or was given back).
bool recordLineRework(LineDb& db, const std::string& line, const std::string& station, const std::string& slot,
                      std::uint32_t number);

// What the line hands out next: its first given-back number, else its counter's.
std::int64_t lineNextShown(LineDb& db, const std::string& line);

}  // namespace ombrel

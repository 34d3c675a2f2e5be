#pragma once

// The serial number allocator's journal as text: four lines of a key and its
// values, e.g.
//   next 1704270001
//   direction +
//   given-back 1704269999
//   held 1704270000
// Read strictly: a journal that is not exactly this is damaged, never guessed at.

#include <cstdint>
#include <limits>
#include <optional>
#include <set>
#include <string>

namespace ombrel {

// The greatest serial number: the device write's click refuses a number it
// could not step as a signed 32-bit integer.
inline constexpr std::int64_t kLastSerialNumber = std::numeric_limits<std::int32_t>::max();

struct SerialJournal {
  // The number handed out next when none was given back; the numbers are
  // used up when its step would leave 0 to kLastSerialNumber.
  std::int64_t next = 0;
  int step = 1;  // +1 or -1
  std::set<std::uint32_t> givenBack;
  std::set<std::uint32_t> held;
};

std::string journalText(const SerialJournal& journal);
// Nothing when the text is damaged.
std::optional<SerialJournal> parseJournal(const std::string& text);

// A serial number as DeviceSerialNo holds it: decimal digits only, within
// 0 to kLastSerialNumber.
std::optional<std::uint32_t> parseSerialNumber(const std::string& text);

// The whole text of the journal file at `path`, or nothing when there is
// none; raises std::runtime_error naming `what` ("serial number journal")
// and the file when it cannot be read.
std::optional<std::string> journalFileText(const std::string& path, const std::string& what);

}  // namespace ombrel

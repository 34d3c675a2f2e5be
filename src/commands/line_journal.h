#pragma once

// The station's own journal of the numbers it took from the line's server,
// so that after a reconnect or a restart it settles them itself: the line,
// then one line per number with its holding's id on the server, e.g.
//   line default
//   held 1704270001 17
//   given-back 1704270000 16
// "held" is a number out to a printer; the others are ends the server has
// not heard yet. Read strictly: anything else is damaged, never guessed at.

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "commands/number_store.h"

namespace ombrel {

struct LineJournal {
  struct Ended {
    std::uint32_t number = 0;
    NumberEnd end = NumberEnd::Unknown;
  };
  std::string line;
  std::map<std::int64_t, std::uint32_t> held;  // by holding id
  std::map<std::int64_t, Ended> ended;         // by holding id
};

std::string lineJournalText(const LineJournal& journal);
// Nothing when the text is damaged.
std::optional<LineJournal> parseLineJournal(const std::string& text);

}  // namespace ombrel

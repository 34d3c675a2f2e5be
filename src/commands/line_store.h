#pragma once

// A station's serial numbers from the line's server, with the station's own
// journal of what it holds (linenumbers.journal beside sysconfig.ini): a
// number is journalled held once the server has recorded it so; its end is
// journalled, then told the server, and kept until the server has heard it.
// A lost server makes take() raise LineDatabaseUnreachable; the next take
// connects again and first tells the server the ends it missed.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "commands/line_journal.h"
#include "commands/number_store.h"
#include "linedb/line_db.h"

namespace ombrel {

class LineStore : public NumberStore {
 public:
  // Connects, makes or checks the line's tables and opens its counter (made
  // from `first` and `step` for a line without one). What an earlier station
  // process left held is settled unknown and added to `abandoned`; the ends
  // it had not told are told. Raises LineDatabaseUnreachable, and
  // std::runtime_error for the tables, the direction or the journal.
  LineStore(std::string journalPath, LineServer server, std::int64_t first, int step, int language,
            std::vector<std::uint32_t>& abandoned);

  std::optional<std::uint32_t> take(const std::string& slot) override;
  void end(std::uint32_t number, NumberEnd end) override;
  std::string nextText() const override { return std::to_string(shown_); }

 private:
  LineDatabaseUnreachable unreachable(const LineDbUnreachable& lost) const;
  void reconnectIfLost();
  void tellEnded();  // raises LineDbUnreachable; what is left untold stays journalled
  void writeJournal() const;
  std::string journalPath_;
  LineServer server_;
  int language_;
  LineJournal journal_;
  std::unique_ptr<LineDb> db_;
  std::int64_t shown_ = 0;
};

}  // namespace ombrel

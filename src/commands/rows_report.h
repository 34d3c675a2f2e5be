#pragma once

// The printers' rows of one day, as `ombrelctl --rows` and the production
// line window's export give them: from the line's server, every station of
// the line, or from this station's own provisioning log.

#include <optional>
#include <string>
#include <vector>

#include "commands/rows_csv.h"
#include "linedb/line_db.h"

namespace ombrel {

// Whether `day` is a date "YYYY-MM-DD" of the calendar.
bool isDayText(const std::string& day);

// The rows of `day` in the log at `logPath`, all written by this station.
std::vector<StationRow> logRowsOfDay(const std::string& logPath, const std::string& day, const std::string& station,
                                     const std::string& line);

// The rows of `line` on the server that started on `day` of this computer's
// calendar. Raises LineDbUnreachable and LineDbError.
std::vector<StationRow> serverRowsOfDay(LineDb& db, const std::string& day, const std::string& line);

}  // namespace ombrel

#pragma once

// The printers' rows of one day, as `ombrelctl --rows` and the production
// line window's export give them: from the line's server, every station of
// the line, or from this station's own provisioning log. A printer set up by
// a device write outside a recipe has that write's row (lone_write_rows.h).

#include <optional>
#include <string>
#include <vector>

#include "commands/rows_csv.h"
#include "linedb/line_db.h"

namespace ombrel {

// Where a station reads the rows: its line's server when it has one, else
// its own log, whose rows carry its station's and line's names.
struct RowsSource {
  std::string conninfo;  // [ProductionLine] Database=; empty: the log
  std::string station;   // Station=, else the host name
  std::string line;      // Line=, else "default"
  std::string logPath;
};

// The source that the [ProductionLine] section of `settingsPath` names.
RowsSource rowsSourceOf(const std::string& settingsPath, std::string logPath);

// The day's rows from the source. Raises LineDbUnreachable, and LineDbError
// for what the server refuses; a server without the rows' table has none.
std::vector<StationRow> rowsOfDay(const RowsSource& source, const std::string& day);

// Whether `day` is a date "YYYY-MM-DD" of the calendar.
bool isDayText(const std::string& day);

// The rows of `day` in the log at `logPath`, all written by this station.
std::vector<StationRow> logRowsOfDay(const std::string& logPath, const std::string& day, const std::string& station,
                                     const std::string& line);

// The rows of `line` on the server that started on `day` of this computer's
// calendar. Raises LineDbUnreachable and LineDbError.
std::vector<StationRow> serverRowsOfDay(LineDb& db, const std::string& day, const std::string& line);

}  // namespace ombrel

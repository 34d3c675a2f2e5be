#pragma once

// The line's rows on its server: every printer's row and every device
// write of every station, one table row each, named by the row id the
// station made. Sending a row again does nothing, so a station that does
// not know whether its row arrived sends it again.

#include <string>
#include <vector>

#include "linedb/line_db.h"

namespace ombrel {

struct LineRowValues {
  std::string rowId;
  std::string station;
  std::string line;
  std::string port;
  std::string link;
  std::string identity;
  std::string serialNumber;
  std::string result;   // a printer's result or a device write's outcome, in the log's words
  std::string started;  // times with their offset; empty: not known
  std::string ended;
  std::string json;  // the provisioning log's line
};

// Inserts the row unless a row with its id is there. Raises
// LineDbUnreachable and LineDbError.
void insertLineRow(LineDb& db, const LineRowValues& row);

struct LineRowRead {
  std::string station;
  std::string line;
  std::string json;  // as the station logged it
};

// The rows a report shows of `line` started from `from` until before
// `until` (times with their offset), in the order they started: the
// printers' rows, and the device writes marked as their printer's only
// record ("own_row"); not the writes that are a step of a printer's row.
std::vector<LineRowRead> lineReportRows(LineDb& db, const std::string& line, const std::string& from,
                                        const std::string& until);

}  // namespace ombrel

#include "linedb/line_rows.h"

namespace ombrel {

namespace {

LineValue timeOrNull(const std::string& time) { return time.empty() ? LineValue() : LineValue(time); }

}  // namespace

void insertLineRow(LineDb& db, const LineRowValues& row) {
  db.exec(
      "INSERT INTO line_rows (row_id, station, line, port, link, identity, serial_number, result, started_at,"
      " ended_at, row_json) VALUES ($1, $2, $3, $4, $5, $6, $7, $8, $9::timestamptz, $10::timestamptz, $11::jsonb)"
      " ON CONFLICT (row_id) DO NOTHING",
      {row.rowId, row.station, row.line, row.port, row.link, row.identity, row.serialNumber, row.result,
       timeOrNull(row.started), timeOrNull(row.ended), row.json});
}

std::vector<LineRowRead> lineReportRows(LineDb& db, const std::string& line, const std::string& from,
                                        const std::string& until) {
  // A printer's row holds "result" where a device write's holds "outcome".
  const auto found = db.exec(
      "SELECT station, line, row_json::text FROM line_rows WHERE line = $1 AND started_at >= $2::timestamptz"
      " AND started_at < $3::timestamptz AND (row_json ? 'result' OR row_json @> '{\"own_row\": true}')"
      " ORDER BY started_at, row_id",
      {line, from, until});
  std::vector<LineRowRead> rows;
  rows.reserve(found.size());
  for (const LineRow& row : found) rows.push_back({row[0].value_or(""), row[1].value_or(""), row[2].value_or("")});
  return rows;
}

}  // namespace ombrel

#include "commands/rows_report.h"

#include <cstdio>
#include <ctime>

#include "commands/line_server_settings.h"
#include "commands/lone_write_rows.h"
#include "commands/printer_rows.h"
#include "linedb/line_rows.h"
#include "texts/ini_file.h"

namespace ombrel {

namespace {

std::optional<std::tm> dayOfText(const std::string& day) {
  int year = 0, month = 0, date = 0, consumed = 0;
  if (day.size() != 10 || std::sscanf(day.c_str(), "%4d-%2d-%2d%n", &year, &month, &date, &consumed) != 3 ||
      consumed != 10) {
    return std::nullopt;
  }
  std::tm midnight{};
  midnight.tm_year = year - 1900;
  midnight.tm_mon = month - 1;
  midnight.tm_mday = date;
  std::tm normalised = midnight;
  if (timegm(&normalised) == -1 || normalised.tm_mon != midnight.tm_mon || normalised.tm_mday != date) {
    return std::nullopt;
  }
  return midnight;
}

// The local midnight `days` after the day's, with its offset; mktime gives
// the offset that holds then, so a day with a clock change is whole.
std::string localMidnight(std::tm day, int days) {
  day.tm_mday += days;
  day.tm_isdst = -1;
  const std::time_t at = std::mktime(&day);
  std::tm local{};
  localtime_r(&at, &local);
  char text[40];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
  return text;
}

constexpr const char* kUndefinedTable = "42P01";

}  // namespace

RowsSource rowsSourceOf(const std::string& settingsPath, std::string logPath) {
  LineServerSettings stored = loadLineServerSettings(IniFile(settingsPath));
  return {std::move(stored.database), std::move(stored.station), std::move(stored.line), std::move(logPath)};
}

std::vector<StationRow> rowsOfDay(const RowsSource& source, const std::string& day) {
  if (source.conninfo.empty()) return logRowsOfDay(source.logPath, day, source.station, source.line);
  LineDb db(source.conninfo);
  try {
    return serverRowsOfDay(db, day, source.line);
  } catch (const LineDbError& error) {
    if (error.sqlState() == kUndefinedTable) return {};
    throw;
  }
}

bool isDayText(const std::string& day) { return dayOfText(day).has_value(); }

std::vector<StationRow> logRowsOfDay(const std::string& logPath, const std::string& day, const std::string& station,
                                     const std::string& line) {
  std::vector<StationRow> rows;
  for (PrinterRow& row : printerRowsOfDay(logPath, day, reportRowOfLine)) {
    rows.push_back({station, line, std::move(row)});
  }
  return rows;
}

std::vector<StationRow> serverRowsOfDay(LineDb& db, const std::string& day, const std::string& line) {
  const auto midnight = dayOfText(day);
  if (!midnight) return {};
  std::vector<StationRow> rows;
  for (const LineRowRead& read : lineReportRows(db, line, localMidnight(*midnight, 0), localMidnight(*midnight, 1))) {
    if (auto row = reportRowOfLine(read.json)) rows.push_back({read.station, read.line, std::move(*row)});
  }
  return rows;
}

}  // namespace ombrel

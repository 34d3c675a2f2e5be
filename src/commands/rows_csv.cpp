#include "commands/rows_csv.h"

#include <charconv>
#include <cstdio>
#include <ctime>
#include <string>

#include "commands/printer_rows.h"

namespace ombrel {

namespace {

constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

std::string quoted(const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string text = "\"";
  for (const char c : field) {
    if (c == '"') text += '"';
    text += c;
  }
  return text + "\"";
}

void addRow(std::string& csv, const std::vector<std::string>& fields) {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) csv += ',';
    csv += quoted(fields[i]);
  }
  csv += "\r\n";
}

std::string secondsText(double seconds) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, seconds);
  return std::string(text, end.ptr);
}

std::string actionsText(const PrinterRow& row) {
  std::string text;
  for (const RecipeStep& step : row.steps) {
    if (!text.empty()) text += ';';
    text += step.action + ":" + (step.result == RecipeStep::Result::Passed ? "ok" : stepResultName(step.result));
  }
  return text;
}

// The action that ended the printer's recipe, when one did.
const RecipeStep* failedStep(const PrinterRow& row) {
  for (const RecipeStep& step : row.steps) {
    if (step.result != RecipeStep::Result::Passed && step.result != RecipeStep::Result::NotRun) return &step;
  }
  return nullptr;
}

}  // namespace

std::optional<std::int64_t> logTimeMilliseconds(const std::string& logTime) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, consumed = 0;
  if (std::sscanf(logTime.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%n", &year, &month, &day, &hour, &minute, &second,
                  &consumed) != 6) {
    return std::nullopt;
  }
  std::size_t at = static_cast<std::size_t>(consumed);
  // The fraction of the second: its first three digits count.
  int millis = 0;
  int fractionDigits = 0;
  const bool fraction = at < logTime.size() && logTime[at] == '.';
  while (at < logTime.size() && (logTime[at] == '.' || (logTime[at] >= '0' && logTime[at] <= '9'))) {
    if (fraction && logTime[at] != '.' && fractionDigits < 3) {
      millis = millis * 10 + (logTime[at] - '0');
      ++fractionDigits;
    }
    ++at;
  }
  for (; fractionDigits < 3; ++fractionDigits) millis *= 10;
  // The offset: "+0100", "+01:00", "+01" or "Z".
  int sign = 0;
  std::string zoneDigits;
  if (at < logTime.size() && (logTime[at] == '+' || logTime[at] == '-')) {
    sign = logTime[at] == '+' ? 1 : -1;
    for (++at; at < logTime.size(); ++at) {
      if (logTime[at] >= '0' && logTime[at] <= '9') {
        zoneDigits += logTime[at];
      } else if (logTime[at] != ':') {
        return std::nullopt;
      }
    }
    if (zoneDigits.size() != 2 && zoneDigits.size() != 4) return std::nullopt;
  } else if (at != logTime.size() && logTime.substr(at) != "Z") {
    return std::nullopt;
  }
  const int zoneHours = sign != 0 ? std::stoi(zoneDigits.substr(0, 2)) : 0;
  const int zoneMinutes = zoneDigits.size() == 4 ? std::stoi(zoneDigits.substr(2)) : 0;
  std::tm written{};
  written.tm_year = year - 1900;
  written.tm_mon = month - 1;
  written.tm_mday = day;
  written.tm_hour = hour;
  written.tm_min = minute;
  written.tm_sec = second;
  const std::time_t utc = timegm(&written) - sign * (zoneHours * 3600 + zoneMinutes * 60);
  return static_cast<std::int64_t>(utc) * 1000 + millis;
}

std::string localTimeText(const std::string& logTime) {
  const auto millis = logTimeMilliseconds(logTime);
  if (!millis) return logTime;
  // Whole seconds, rounded down also before 1970.
  const std::time_t utc = static_cast<std::time_t>(*millis / 1000 - (*millis % 1000 < 0 ? 1 : 0));
  std::tm local{};
  localtime_r(&utc, &local);
  char date[32];
  char zone[8];
  std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
  std::strftime(zone, sizeof zone, "%z", &local);
  const std::string offset(zone);
  return std::string(date) + offset.substr(0, 3) + ":" + offset.substr(3);
}

std::string printerRowsCsv(const std::vector<StationRow>& rows) {
  std::string csv = kByteOrderMark;
  addRow(csv, {"time", "station", "line", "port", "link", "printer", "serial_number", "result", "failed_action",
               "reason", "seconds", "actions"});
  for (const StationRow& station : rows) {
    const PrinterRow& row = station.row;
    const RecipeStep* failed = failedStep(row);
    const std::string reason = !row.text.empty() || failed == nullptr ? row.text : failed->text;
    addRow(csv, {localTimeText(row.time), station.station, station.line, row.port, row.link, row.printerIdentity,
                 row.serialNumber, endName(row.end), failed != nullptr ? failed->action : std::string(), reason,
                 secondsText(row.seconds), actionsText(row)});
  }
  return csv;
}

}  // namespace ombrel

#include "cli/rows_report.h"

#include <cstdio>

#include "cli/actions.h"
#include "commands/printer_rows.h"
#include "commands/line_server_settings.h"
#include "commands/provisioning_log.h"
#include "commands/rows_report.h"
#include "platform/app_dir.h"
#include "settings/main_defaults.h"
#include "texts/ini_file.h"

namespace ombrel::cli {

RowsSource rowsSourceOf(const Options& options, const std::string& settingsPath, const std::string& logPath) {
  RowsSource source = ombrel::rowsSourceOf(settingsPath, logPath);
  if (options.lineDb) source.conninfo = *options.lineDb;
  // The station that takes the numbers is the one its rows name.
  if (options.station) source.station = *options.station;
  if (options.line) source.line = *options.line;
  return source;
}

int printRows(const Options& options) {
  if (!options.rowsDay.empty() && !isDayText(options.rowsDay)) {
    throw UsageError("--day takes a date YYYY-MM-DD, not \"" + options.rowsDay + "\"");
  }
  const std::string appDir = programDirectory(options.dir);
  const int language =
      options.languageGiven ? options.language : startLanguage(loadMainDefaults(IniFile(appDir + "sysconfig.ini")));
  const RowsSource source =
      rowsSourceOf(options, options.settingsFile.empty() ? appDir + "sysconfig.ini" : options.settingsFile,
                   options.logFile.empty() ? appDir + "provisioning.jsonl" : options.logFile);
  if (const auto refusal = lineDatabaseRefusal(source.conninfo, language)) {
    std::fprintf(stderr, "%s\n", refusal->c_str());
    return kExitRefused;
  }
  std::vector<StationRow> rows;
  try {
    rows = rowsOfDay(source, options.rowsDay.empty() ? dayOf(localTimestamp()) : options.rowsDay);
  } catch (const std::runtime_error& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return kExitTaskFailed;
  }
  const std::string csv = printerRowsCsv(rows);
  return std::fwrite(csv.data(), 1, csv.size(), stdout) == csv.size() && std::fflush(stdout) == 0 ? kExitOk
                                                                                                  : kExitTaskFailed;
}

}  // namespace ombrel::cli

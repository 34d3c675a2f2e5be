#include "cli/rows_report.h"

#include <cstdio>

#include "cli/actions.h"
#include "commands/printer_rows.h"
#include "commands/provisioning_log.h"
#include "commands/rows_report.h"
#include "platform/app_dir.h"
#include "settings/main_defaults.h"
#include "texts/ini_file.h"

namespace ombrel::cli {

namespace {

std::string passwordRefusalText(int language) {
  if (language == 1) {
    return "The line database's connection string holds a password: keep it in libpq's password file "
           "(~/.pgpass) or name a service of libpq's service file (~/.pg_service.conf) instead";
  }
  return "生产线数据库的连接字符串含有密码：请把密码放在 libpq 的密码文件（~/.pgpass）中，"
         "或改用 libpq 服务文件（~/.pg_service.conf）中的服务";
}

}  // namespace

int printRows(const Options& options) {
  const std::string appDir = programDirectory(options.dir);
  const int language =
      options.languageGiven ? options.language : startLanguage(loadMainDefaults(IniFile(appDir + "sysconfig.ini")));
  RowsSource source = rowsSourceOf(options.settingsFile.empty() ? appDir + "sysconfig.ini" : options.settingsFile,
                                   options.logFile.empty() ? appDir + "provisioning.jsonl" : options.logFile);
  if (options.lineDb) source.conninfo = *options.lineDb;
  if (options.line) source.line = *options.line;
  if (conninfoHoldsPassword(source.conninfo)) {
    std::fprintf(stderr, "%s\n", passwordRefusalText(language).c_str());
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

#pragma once

// ombrelctl --rows: the day's printers as CSV on standard output.

#include <string>

#include "cli/options.h"
#include "commands/rows_report.h"

namespace ombrel::cli {

// Prints the rows of options.rowsDay (today when empty) of the line: from
// the server that --line-db or [ProductionLine] Database= names, else from
// the provisioning log (--log, else DIR/provisioning.jsonl). Returns the
// exit status; a server that cannot be reached is 1, a password in the
// connection string 2. Raises UsageError for a --day that is no date.
int printRows(const Options& options);

// Where the rows of ombrelctl's runs go besides --log: the server of
// --line-db or Database= in `settingsPath`, with --line over Line=.
RowsSource rowsSourceOf(const Options& options, const std::string& settingsPath, const std::string& logPath);

}  // namespace ombrel::cli

#pragma once

// ombrelctl --rows: the day's printers as CSV on standard output.

#include "cli/options.h"

namespace ombrel::cli {

// Prints the rows of options.rowsDay (today when empty) of the line: from
// the server that --line-db or [ProductionLine] Database= names, else from
// the provisioning log (--log, else DIR/provisioning.jsonl). Returns the
// exit status; a server that cannot be reached is 1, a password in the
// connection string 2.
int printRows(const Options& options);

}  // namespace ombrel::cli

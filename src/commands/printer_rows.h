#pragma once

// The production line's rows in the provisioning log: beside the line of
// each device write, one line per printer once its recipe has ended, so that
// a station shows the rows of the day again after a restart. A printer's
// line has "result" where a device write's has "outcome", so that readers of
// the device writes can tell the two apart.

#include <optional>
#include <string>
#include <vector>

#include "commands/provisioning_log.h"
#include "commands/recipe_run.h"

namespace ombrel {

// One JSON object on one line, without the line end.
std::string printerRowLine(const PrinterRow& row);

// Appends the row's line and flushes it to the disk; raises
// std::runtime_error naming the file when it cannot.
void appendPrinterRow(const ProvisioningLog& log, const PrinterRow& row);

// The printer's row a log line holds; none for a line of another kind or a
// damaged one.
std::optional<PrinterRow> printerRowOfLine(const std::string& text);

// The words the log writes for a printer's end and for an action's result.
const char* endName(PrinterRow::End end);
const char* stepResultName(RecipeStep::Result result);

// The rows of the log whose time falls on the day `today` ("2026-12-08"),
// in the log's order, as `rowOfLine` reads each line (by default the
// printers' rows). A missing log gives none; lines that give no row are
// passed over.
std::vector<PrinterRow> printerRowsOfDay(const std::string& logPath, const std::string& today,
                                         std::optional<PrinterRow> (*rowOfLine)(const std::string&) = printerRowOfLine);

// The date of a time as the log writes it ("2026-12-08T21:14:14.123+0100").
std::string dayOf(const std::string& time);

}  // namespace ombrel

#pragma once

// The day's report reads a device write made outside a recipe (its line
// says "own_row") as its printer's row, since no other line records that
// printer: a recipe's own device write is a step of the printer's row and
// stays out, and so do the writes of logs from before the mark.

#include <optional>
#include <string>

#include "commands/recipe_run.h"

namespace ombrel {

// The printer's row such a device write's line gives: its one action
// (btn_SetDevicePara, or btn_Rework for a rework) with the write's outcome;
// written passes, failed and unknown fail, refused is refused, the write's
// error is the reason, and its seconds run from "time" to "ended". None for
// any other line.
std::optional<PrinterRow> loneWriteRowOfLine(const std::string& text);

// The row the report shows for a log line: a printer's row or a lone
// device write's; none for any other line.
std::optional<PrinterRow> reportRowOfLine(const std::string& text);

}  // namespace ombrel

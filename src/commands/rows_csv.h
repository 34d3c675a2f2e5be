#pragma once

// The production line's rows as a spreadsheet reads them: one printer a row,
// CSV as RFC 4180 quotes it, UTF-8 with a byte-order mark so that a
// spreadsheet does not take the Chinese texts for another code page.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "commands/recipe_run.h"

namespace ombrel {

// A printer's row with the station that wrote it.
struct StationRow {
  std::string station;
  std::string line;
  PrinterRow row;
};

// The header row and one row per printer, each ended by CR LF. Times are
// shown in this computer's local time with its offset; the actions column
// reads "btn_SetCodepage:ok;btn_SetDevicePara:failed".
std::string printerRowsCsv(const std::vector<StationRow>& rows);

// A time as the log writes it ("2026-12-08T21:14:14.123+0100") in this
// computer's local time ("2026-12-08T21:14:14+01:00"); a text that is no
// such time is given back as it stands.
std::string localTimeText(const std::string& logTime);

// The instant such a time names, in milliseconds since 1970 (UTC); none for
// a text that is no such time.
std::optional<std::int64_t> logTimeMilliseconds(const std::string& logTime);

}  // namespace ombrel

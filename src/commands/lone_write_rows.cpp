#include "commands/lone_write_rows.h"

#include <nlohmann/json.hpp>

#include "commands/printer_rows.h"
#include "commands/rows_csv.h"

namespace ombrel {

namespace {

using End = PrinterRow::End;
using Result = RecipeStep::Result;

struct OutcomeOfRow {
  const char* outcome;
  End end;
  Result result;
};

// A write whose frame went out unanswered may or may not have reached the
// printer: the printer is not known to be set up, so it failed.
constexpr OutcomeOfRow kOutcomes[] = {
    {"written", End::Passed, Result::Passed},
    {"failed", End::Failed, Result::Failed},
    {"unknown", End::Failed, Result::Failed},
    {"refused", End::Refused, Result::Refused},
};

double secondsBetween(const std::string& started, const std::string& ended) {
  const auto from = logTimeMilliseconds(started);
  const auto until = logTimeMilliseconds(ended);
  return from && until ? static_cast<double>(*until - *from) / 1000 : 0;
}

}  // namespace

std::optional<PrinterRow> loneWriteRowOfLine(const std::string& text) {
  // Most lines are no such write: they are passed over unparsed.
  if (text.find("\"own_row\"") == std::string::npos) return std::nullopt;
  const auto line = nlohmann::json::parse(text, nullptr, false);
  if (!line.is_object() || line.value("own_row", nlohmann::json()) != true) return std::nullopt;
  try {
    const std::string outcome = line.at("outcome").get<std::string>();
    const OutcomeOfRow* known = nullptr;
    for (const OutcomeOfRow& each : kOutcomes) {
      if (outcome == each.outcome) known = &each;
    }
    if (known == nullptr) return std::nullopt;
    PrinterRow row;
    row.time = line.at("time").get<std::string>();
    row.link = line.at("link").get<std::string>();
    row.printerIdentity = line.at("printer").get<std::string>();
    row.serialNumber = line.at("serial_number").get<std::string>();
    row.text = line.at("error").get<std::string>();
    row.rowId = line.value("row_id", std::string());
    row.ended = line.value("ended", std::string());
    row.end = known->end;
    row.seconds = secondsBetween(row.time, row.ended);
    const bool rework = line.value("rework", false);
    row.steps = {{rework ? kReworkControl : kDeviceWriteControl, known->result, row.text}};
    return row;
  } catch (const nlohmann::json::exception&) {
    return std::nullopt;  // a damaged line: the rows around it are still shown
  }
}

std::optional<PrinterRow> reportRowOfLine(const std::string& text) {
  auto row = printerRowOfLine(text);
  return row ? row : loneWriteRowOfLine(text);
}

}  // namespace ombrel

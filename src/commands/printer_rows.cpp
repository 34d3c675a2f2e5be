#include "commands/printer_rows.h"

#include <array>
#include <fstream>
#include <nlohmann/json.hpp>
#include <utility>

namespace ombrel {

namespace {

using End = PrinterRow::End;
using Result = RecipeStep::Result;

constexpr std::array kEndNames{std::pair{End::Running, "running"},       std::pair{End::Passed, "passed"},
                               std::pair{End::Failed, "failed"},         std::pair{End::Refused, "refused"},
                               std::pair{End::Removed, "removed"},       std::pair{End::Stopped, "stopped"},
                               std::pair{End::NotMatched, "not matched"}};
constexpr std::array kResultNames{std::pair{Result::NotRun, "not run"}, std::pair{Result::Passed, "passed"},
                                  std::pair{Result::Failed, "failed"}, std::pair{Result::Refused, "refused"},
                                  std::pair{Result::Removed, "removed"}};

template <typename Value, std::size_t N>
const char* nameOf(const std::array<std::pair<Value, const char*>, N>& names, Value value) {
  for (const auto& [known, name] : names) {
    if (known == value) return name;
  }
  return names.front().second;
}

template <typename Value, std::size_t N>
Value valueOf(const std::array<std::pair<Value, const char*>, N>& names, const std::string& name) {
  for (const auto& [value, known] : names) {
    if (name == known) return value;
  }
  return names.front().first;
}

}  // namespace

std::string printerRowLine(const PrinterRow& row) {
  nlohmann::ordered_json steps = nlohmann::ordered_json::array();
  for (const RecipeStep& step : row.steps) {
    steps.push_back({{"action", step.action}, {"outcome", nameOf(kResultNames, step.result)}, {"error", step.text}});
  }
  const nlohmann::ordered_json line = {
      {"time", row.time},
      {"link", row.link},
      {"printer", row.printerIdentity},
      {"serial_number", row.serialNumber},
      {"result", nameOf(kEndNames, row.end)},
      {"error", row.text},
      {"seconds", row.seconds},
      {"actions", steps},
      // Last, so that the lines keep the shape they had before ports.
      {"port", row.port},
      {"row_id", row.rowId},
      {"ended", row.ended},
  };
  return line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void appendPrinterRow(const ProvisioningLog& log, const PrinterRow& row) { log.appendLine(printerRowLine(row)); }

std::optional<PrinterRow> printerRowOfLine(const std::string& text) {
  const auto line = nlohmann::json::parse(text, nullptr, false);
  if (!line.is_object() || !line.contains("result") || !line["result"].is_string()) return std::nullopt;
  try {
    PrinterRow row;
    row.time = line.at("time").get<std::string>();
    row.link = line.at("link").get<std::string>();
    // Rows written before ports, row ids and end times were kept have none.
    row.port = line.value("port", std::string());
    row.rowId = line.value("row_id", std::string());
    row.ended = line.value("ended", std::string());
    row.printerIdentity = line.at("printer").get<std::string>();
    row.serialNumber = line.at("serial_number").get<std::string>();
    row.end = valueOf(kEndNames, line.at("result").get<std::string>());
    row.text = line.at("error").get<std::string>();
    row.seconds = line.at("seconds").get<double>();
    for (const auto& step : line.at("actions")) {
      row.steps.push_back({step.at("action").get<std::string>(),
                           valueOf(kResultNames, step.at("outcome").get<std::string>()),
                           step.at("error").get<std::string>()});
    }
    return row;
  } catch (const nlohmann::json::exception&) {
    return std::nullopt;  // a damaged line: the rows around it are still shown
  }
}

std::vector<PrinterRow> printerRowsOfDay(const std::string& logPath, const std::string& today,
                                         std::optional<PrinterRow> (*rowOfLine)(const std::string&)) {
  std::vector<PrinterRow> rows;
  std::ifstream log(logPath);
  for (std::string text; std::getline(log, text);) {
    auto row = rowOfLine(text);
    if (row && dayOf(row->time) == today) rows.push_back(std::move(*row));
  }
  return rows;
}

const char* endName(PrinterRow::End end) { return nameOf(kEndNames, end); }

const char* stepResultName(RecipeStep::Result result) { return nameOf(kResultNames, result); }

std::string dayOf(const std::string& time) { return time.substr(0, time.find('T')); }

}  // namespace ombrel

#include "commands/line_journal.h"

#include <array>
#include <sstream>
#include <utility>

namespace ombrel {

namespace {

const std::array<std::pair<const char*, NumberEnd>, 3> kEndWords{{
    {"committed", NumberEnd::Committed},
    {"given-back", NumberEnd::GivenBack},
    {"unknown", NumberEnd::Unknown},
}};

const char* wordOf(NumberEnd end) {
  for (const auto& [word, named] : kEndWords) {
    if (named == end) return word;
  }
  return "unknown";
}

}  // namespace

std::string lineJournalText(const LineJournal& journal) {
  std::ostringstream out;
  out << "line " << journal.line << '\n';
  for (const auto& [holding, number] : journal.held) out << "held " << number << ' ' << holding << '\n';
  for (const auto& [holding, ended] : journal.ended) {
    out << wordOf(ended.end) << ' ' << ended.number << ' ' << holding << '\n';
  }
  return out.str();
}

std::optional<LineJournal> parseLineJournal(const std::string& text) {
  if (!text.starts_with("line ") || text.back() != '\n') return std::nullopt;
  std::istringstream lines(text);
  LineJournal journal;
  std::string line;
  std::getline(lines, line);
  journal.line = line.substr(5);
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string word;
    std::int64_t number = -1;
    std::int64_t holding = -1;
    std::string rest;
    if (!(words >> word >> number >> holding) || (words >> rest) || number < 0 || number > 0xffffffffLL ||
        holding < 0 || journal.held.contains(holding) || journal.ended.contains(holding)) {
      return std::nullopt;
    }
    const auto value = static_cast<std::uint32_t>(number);
    if (word == "held") {
      journal.held.emplace(holding, value);
      continue;
    }
    bool known = false;
    for (const auto& [named, end] : kEndWords) {
      if (word == named) {
        journal.ended.emplace(holding, LineJournal::Ended{value, end});
        known = true;
      }
    }
    if (!known) return std::nullopt;
  }
  return journal;
}

}  // namespace ombrel

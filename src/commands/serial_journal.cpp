#include "commands/serial_journal.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <map>
#include <sstream>
#include <type_traits>
#include <utility>
#include <vector>

namespace ombrel {

namespace {

template <typename Number>
std::optional<Number> parseDecimal(const std::string& text) {
  Number value{};
  const char* end = text.data() + text.size();
  if (text.empty() || (text[0] == '-' && std::is_unsigned_v<Number>)) return std::nullopt;
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

void putNumbers(std::ostringstream& out, const char* key, const std::set<std::uint32_t>& numbers) {
  out << key;
  for (const std::uint32_t number : numbers) out << ' ' << number;
  out << '\n';
}

}  // namespace

std::string journalText(const SerialJournal& journal) {
  std::ostringstream out;
  out << "next " << journal.next << '\n' << "direction " << (journal.step < 0 ? '-' : '+') << '\n';
  putNumbers(out, "given-back", journal.givenBack);
  putNumbers(out, "held", journal.held);
  return out.str();
}

std::optional<SerialJournal> parseJournal(const std::string& text) {
  std::map<std::string, std::vector<std::string>> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string key;
    if (!(words >> key) || lines.contains(key)) return std::nullopt;
    std::vector<std::string>& values = lines[key];
    for (std::string value; words >> value;) values.push_back(value);
  }
  if (lines.size() != 4 || lines["next"].size() != 1 || lines["direction"].size() != 1 ||
      !lines.contains("given-back") || !lines.contains("held")) {
    return std::nullopt;
  }
  SerialJournal journal;
  const auto next = parseDecimal<std::int64_t>(lines["next"][0]);
  if (!next || *next < 0 || *next > kLastSerialNumber) return std::nullopt;
  journal.next = *next;
  const std::string& direction = lines["direction"][0];
  if (direction != "+" && direction != "-") return std::nullopt;
  journal.step = direction == "-" ? -1 : 1;
  for (auto [key, numbers] : {std::pair{"given-back", &journal.givenBack}, std::pair{"held", &journal.held}}) {
    for (const std::string& value : lines[key]) {
      const auto number = parseDecimal<std::uint32_t>(value);
      if (!number || *number > kLastSerialNumber) return std::nullopt;
      numbers->insert(*number);
    }
  }
  for (const std::uint32_t number : journal.held) {
    if (journal.givenBack.contains(number)) return std::nullopt;
  }
  return journal;
}

std::optional<std::uint32_t> parseSerialNumber(const std::string& text) {
  if (text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  const auto number = parseDecimal<std::uint32_t>(text);
  if (!number || *number > kLastSerialNumber) return std::nullopt;
  return number;
}

std::optional<std::string> journalFileText(const std::string& path, const std::string& what) {
  std::error_code missing;
  if (!std::filesystem::exists(path, missing) && !missing) return std::nullopt;
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  if (!file) throw std::runtime_error("Cannot read the " + what + " " + path);
  return text.str();
}

}  // namespace ombrel

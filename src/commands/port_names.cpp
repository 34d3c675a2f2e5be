#include "commands/port_names.h"

#include <algorithm>
#include <string_view>

namespace ombrel {
namespace {

std::string trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

}  // namespace

PortNames parsePortNames(const std::string& text) {
  PortNames names;
  std::string_view rest = text;
  while (!rest.empty()) {
    const auto comma = rest.find(',');
    const std::string_view pair = rest.substr(0, comma);
    rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
    // A kernel port name holds no ':', a label may.
    const auto colon = pair.find(':');
    if (colon == std::string_view::npos) continue;
    std::string port = trimmed(pair.substr(0, colon));
    std::string label = trimmed(pair.substr(colon + 1));
    if (!port.empty() && !label.empty()) names.emplace(std::move(port), std::move(label));
  }
  return names;
}

std::string portNamesText(const PortNames& names) {
  std::string text;
  for (const auto& [port, label] : names) {
    if (port.empty() || label.empty()) continue;
    if (!text.empty()) text += ',';
    // A ',' would end the label early and read back as a pair of its own.
    std::string kept = label;
    std::replace(kept.begin(), kept.end(), ',', ' ');
    text += port + ':' + kept;
  }
  return text;
}

std::string portWithLabel(const PortNames& names, const std::string& port) {
  const auto named = names.find(port);
  return named == names.end() ? port : port + " (" + named->second + ")";
}

}  // namespace ombrel

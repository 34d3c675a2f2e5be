#include "ports/serial_port_list.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <system_error>
#include <tuple>

namespace ombrel {

namespace {

namespace fs = std::filesystem;

// "ttyUSB10" -> ("ttyUSB", 10, ...): names sorted as people count.
auto naturalKey(const std::string& name) {
  std::size_t digits = name.size();
  while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) --digits;
  const std::string number = name.substr(digits);
  // Leading zeros and lengths beyond any port number keep the plain order.
  const std::size_t value = number.empty() || number.size() > 9 ? 0 : std::stoul(number);
  return std::make_tuple(name.substr(0, digits), value, name);
}

// A UART slot reports its port type in "type"; 0 means no UART is there.
bool hasNoUart(const fs::path& ttyEntry) {
  std::ifstream type(ttyEntry / "type");
  int value = -1;
  return type >> value && value == 0;
}

std::vector<std::string> sortedNames(const fs::path& dir, bool (*keep)(const fs::directory_entry&)) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
    if (keep(*it)) names.push_back(it->path().filename().string());
  }
  return names;
}

}  // namespace

std::vector<std::string> listSerialPorts(const SerialPortSources& sources) {
  auto terminals = sortedNames(sources.ttyClass, [](const fs::directory_entry& entry) {
    std::error_code error;
    return fs::exists(entry.path() / "device", error) && !hasNoUart(entry.path());
  });
  std::sort(terminals.begin(), terminals.end(),
            [](const std::string& a, const std::string& b) { return naturalKey(a) < naturalKey(b); });
  auto stable = sortedNames(sources.byIdDir, [](const fs::directory_entry&) { return true; });
  std::sort(stable.begin(), stable.end());

  std::vector<std::string> ports;
  for (const auto& name : terminals) ports.push_back((sources.deviceDir / name).string());
  for (const auto& name : stable) ports.push_back((sources.byIdDir / name).string());
  return ports;
}

}  // namespace ombrel

#include "ports/serial/serial_port_name.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace ombrel {

std::string devicePathFor(const std::string& portName) {
  if (portName.size() < 4) return portName;
  const bool comPrefix = std::equal(portName.begin(), portName.begin() + 3, "COM",
                                    [](char a, char b) { return std::toupper(static_cast<unsigned char>(a)) == b; });
  const char* digits = portName.data() + 3;
  const char* end = portName.data() + portName.size();
  // Leading zeros or signs make it some other device's name.
  if (!comPrefix || *digits < '1' || *digits > '9') return portName;
  unsigned number = 0;
  const auto [stop, error] = std::from_chars(digits, end, number);
  if (error != std::errc() || stop != end) return portName;
  return "/dev/ttyS" + std::to_string(number - 1);
}

}  // namespace ombrel

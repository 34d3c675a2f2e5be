#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ombrel {

// Where the serial ports of this machine are found; tests point it elsewhere.
struct SerialPortSources {
  std::filesystem::path ttyClass = "/sys/class/tty";
  std::filesystem::path deviceDir = "/dev";
  std::filesystem::path byIdDir = "/dev/serial/by-id";
};

// The device paths of the serial ports present: each terminal of the tty
// class that has a device behind it, in natural order (ttyS2 before ttyS10),
// then the stable names under by-id in name order. Slots of on-board UART
// drivers that report port type 0 have no UART and are left out. Empty when
// nothing is found.
std::vector<std::string> listSerialPorts(const SerialPortSources& sources = {});

}  // namespace ombrel

#pragma once

// ombrelctl --each-arrival as a child process with a USB test bed of its
// own: the recipe of the code page and the device write on its program
// directory, and the printers it is given, each on a port of its own
// ("1-1", "1-2", ...) behind a virtual printer. Several live in one test,
// each station seeing only its own test bed.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "e2e/virtual_printer.h"
#include "support/child_process.h"
#include "usb/usb_testbed.h"

namespace ombrel::test_support {

inline constexpr std::uint32_t kFirstNumber = 1704269998;
// Up to six printers and their slots share a busy machine: a reply wait of
// 600 ms, not 150, so that only the printers meant to fail do.
inline const ChildProcess::Environment kStationScale{{"OMBREL_TIME_SCALE", "5"}};

// The serial numbers of the device writes that reached a printer, once it
// has logged all it holds (it is stopped).
std::vector<std::uint32_t> numbersAtWire(VirtualPrinter& printer);

class ArrivalStation {
 public:
  using Json = nlohmann::json;

  // Writes the station's settings into `dir`, which outlives the station.
  explicit ArrivalStation(std::string dir);

  // Starts the station and waits until it watches for printers.
  void start(std::vector<std::string> extra = {});
  // Plugs in a printer at the next port; `faults` are the virtual printer's.
  std::string plug(const std::vector<std::string>& faults = {});
  void unplug(const std::string& port) { bed_.removeDevice(devices_.at(port)); }
  VirtualPrinter& printer(const std::string& port) { return *printers_.at(std::stoul(port.substr(2)) - 1); }

  // Reads events until `enough` says so; fails the test after 20 s without one.
  void readUntil(const std::function<bool()>& enough);
  std::vector<Json> rows() const;
  bool started(const std::string& port, const std::string& action) const;
  // Ends the station as an operator does (Ctrl-C); its exit code, -1 if it did not exit.
  int stop();
  std::string log() const { return dir_ + "/line.jsonl"; }

  std::vector<Json> events;
  std::unique_ptr<ChildProcess> process;

 private:
  std::string dir_;
  UsbTestbed bed_;
  std::vector<std::unique_ptr<VirtualPrinter>> printers_;
  std::map<std::string, std::string> devices_;
};

}  // namespace ombrel::test_support

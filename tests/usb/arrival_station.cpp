#include "usb/arrival_station.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <thread>

#include "settings/temp_dir.h"
#include "support/run_program.h"

namespace ombrel::test_support {

using namespace std::chrono_literals;

std::vector<std::uint32_t> numbersAtWire(VirtualPrinter& printer) {
  printer.stop();
  return deviceWriteNumbers(printer);
}

ArrivalStation::ArrivalStation(std::string dir) : dir_(std::move(dir)) {
  testing::writeFile(dir_ + "/sysconfig.ini",
                     "[ParaDefault]\r\nDeviceName=Kasse\r\nDeviceSerialNo=" + std::to_string(kFirstNumber) +
                         "\r\ncalculate=1\r\n[ProductionLine]\r\nActions=btn_SetCodepage,btn_SetDevicePara\r\n"
                         "PortNames=1-1:A1\r\n");
}

void ArrivalStation::start(std::vector<std::string> extra) {
  std::vector<std::string> arguments{"--dir", dir_, "--each-arrival", "--recipe", "--json", "--log", log()};
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  const std::filesystem::path settings = dir_ + "/sysconfig.ini";
  const auto before = std::filesystem::last_write_time(settings);
  // The test bed made last is the one this process's environment names:
  // each station is given its own.
  auto environment = kStationScale;
  environment.emplace_back("UMOCKDEV_DIR", bed_.root());
  process = std::make_unique<ChildProcess>(builtProgram("ombrelctl"), arguments, environment);
  // No event comes before the first printer: the station saves its settings
  // as it starts, and lists the printers present just after.
  waitUntil([&] { return std::filesystem::last_write_time(settings) != before; }, 10s);
  std::this_thread::sleep_for(300ms);
}

std::string ArrivalStation::plug(const std::vector<std::string>& faults) {
  std::vector<std::string> arguments{"--baud", "38400"};
  arguments.insert(arguments.end(), faults.begin(), faults.end());
  printers_.push_back(std::make_unique<VirtualPrinter>(OnPty{}, arguments));
  const int number = static_cast<int>(printers_.size());
  const std::string port = "1-" + std::to_string(number);
  devices_[port] = bed_.addDevice(port, "0fe6", "811e", number - 1, printers_.back()->ptyPath());
  return port;
}

void ArrivalStation::readUntil(const std::function<bool()>& enough) {
  while (!enough()) {
    const auto line = process->readLine(20s);
    if (!line) FAIL() << "no further event";
    events.push_back(Json::parse(*line));
  }
}

std::vector<ArrivalStation::Json> ArrivalStation::rows() const {
  std::vector<Json> found;
  std::copy_if(events.begin(), events.end(), std::back_inserter(found),
               [](const Json& event) { return event["event"] == "row"; });
  return found;
}

bool ArrivalStation::started(const std::string& port, const std::string& action) const {
  return std::any_of(events.begin(), events.end(), [&](const Json& event) {
    return event["port"] == port && event.value("action", "") == action && event.value("state", "") == "started";
  });
}

int ArrivalStation::stop() {
  process->sendSignal(SIGINT);
  const auto ended = process->waitForExit(20s);
  return ended && ended->exited ? ended->code : -1;
}

}  // namespace ombrel::test_support

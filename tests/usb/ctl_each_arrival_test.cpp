// ombrelctl --each-arrival under the USB test bed: identical printers told
// apart by their ports, several set up at once, each device write numbered
// by the station's allocator, with its events as JSON lines.

#include <nlohmann/json.hpp>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <thread>

#include "e2e/ctl_fixture.h"
#include "e2e/serial_line_log.h"
#include "support/child_process.h"
#include "texts/ini_file.h"
#include "usb/usb_testbed.h"

namespace ombrel::test_support {
namespace {

using namespace std::chrono_literals;
using Json = nlohmann::json;

constexpr std::uint32_t kFirstNumber = 1704269998;
// Up to six printers and their slots share a busy machine: a reply wait of
// 600 ms, not 150, so that only the printers meant to fail do.
const ChildProcess::Environment kScaled{{"OMBREL_TIME_SCALE", "5"}};

// The serial numbers of the device writes that reached a printer: the frame
// of command 0x85 carries the name and then the number, 20 bytes each.
std::vector<std::uint32_t> numbersAtWire(VirtualPrinter& printer) {
  std::vector<std::uint32_t> numbers;
  for (const auto& line : lineLog(printer)) {
    const std::string head = "rx frame: 02 00 85 ";
    if (line.rfind(head, 0) != 0) continue;
    std::istringstream bytes(line.substr(head.size() + 13 * 3 + 20 * 3));
    std::string digits;
    for (std::string byte; bytes >> byte && byte != "00";) digits += static_cast<char>(std::stoi(byte, nullptr, 16));
    numbers.push_back(static_cast<std::uint32_t>(std::stoul(digits)));
  }
  return numbers;
}

// A station on its own program directory, with the recipe of the code page
// and the device write, and the printers it is given, each on a port of its
// own ("1-1", "1-2", ...) behind a virtual printer.
class Station : public CtlTest {
 protected:
  void SetUp() override {
    testing::writeFile(dir() + "/sysconfig.ini",
                       "[ParaDefault]\r\nDeviceName=Kasse\r\nDeviceSerialNo=" + std::to_string(kFirstNumber) +
                           "\r\ncalculate=1\r\n[ProductionLine]\r\nActions=btn_SetCodepage,btn_SetDevicePara\r\n"
                           "PortNames=1-1:A1\r\n");
  }

  void start(std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments{"--dir", dir(), "--each-arrival", "--recipe", "--json", "--log", log()};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    const std::filesystem::path settings = dir() + "/sysconfig.ini";
    const auto before = std::filesystem::last_write_time(settings);
    station_ = std::make_unique<ChildProcess>(builtProgram("ombrelctl"), arguments, kScaled);
    // No event comes before the first printer: the station saves its settings
    // as it starts, and lists the printers present just after.
    for (int i = 0; i < 200 && std::filesystem::last_write_time(settings) == before; ++i) {
      std::this_thread::sleep_for(50ms);
    }
    std::this_thread::sleep_for(300ms);
  }

  // Plugs in a printer at the next port; `faults` are the virtual printer's.
  std::string plug(const std::vector<std::string>& faults = {}) {
    std::vector<std::string> arguments{"--baud", "38400"};
    arguments.insert(arguments.end(), faults.begin(), faults.end());
    printers_.push_back(std::make_unique<VirtualPrinter>(OnPty{}, arguments));
    const int number = static_cast<int>(printers_.size());
    const std::string port = "1-" + std::to_string(number);
    devices_[port] = bed_.addDevice(port, "0fe6", "811e", number - 1, printers_.back()->ptyPath());
    return port;
  }
  void unplug(const std::string& port) { bed_.removeDevice(devices_.at(port)); }
  VirtualPrinter& printer(const std::string& port) { return *printers_.at(std::stoul(port.substr(2)) - 1); }

  // Reads events until `enough` says so; fails the test after 20 s without one.
  void readUntil(const std::function<bool()>& enough) {
    while (!enough()) {
      const auto line = station_->readLine(20s);
      if (!line) FAIL() << "no further event";
      events.push_back(Json::parse(*line));
    }
  }
  std::vector<Json> rows() const {
    std::vector<Json> found;
    std::copy_if(events.begin(), events.end(), std::back_inserter(found),
                 [](const Json& event) { return event["event"] == "row"; });
    return found;
  }
  bool started(const std::string& port, const std::string& action) const {
    return std::any_of(events.begin(), events.end(), [&](const Json& event) {
      return event["port"] == port && event.value("action", "") == action && event.value("state", "") == "started";
    });
  }

  int stop() {
    station_->sendSignal(SIGINT);
    const auto ended = station_->waitForExit(20s);
    return ended && ended->exited ? ended->code : -1;
  }
  std::string log() const { return dir() + "/line.jsonl"; }

  std::vector<Json> events;
  std::unique_ptr<ChildProcess> station_;

 private:
  UsbTestbed bed_;
  std::vector<std::unique_ptr<VirtualPrinter>> printers_;
  std::map<std::string, std::string> devices_;
};

TEST_F(Station, FourPrintersTogetherAndTwoMoreGetConsecutiveNumbersAtTheirOwnPorts) {
  start({"--slots", "4"});
  // Each reply comes late, so that the first four still run as the others arrive.
  const std::vector<std::string> slow{"--delay", "10"};
  for (int i = 0; i < 4; ++i) plug(slow);
  ASSERT_NO_FATAL_FAILURE(readUntil([&] { return started("1-1", "btn_SetCodepage"); }));
  plug(slow);
  plug(slow);
  ASSERT_NO_FATAL_FAILURE(readUntil([&] { return rows().size() == 6; }));
  EXPECT_EQ(stop(), 0);

  std::vector<std::uint32_t> numbers;
  for (const Json& row : rows()) {
    const std::string port = row["port"];
    EXPECT_EQ(row["result"], "passed") << row;
    const auto atWire = numbersAtWire(printer(port));
    ASSERT_EQ(atWire.size(), 1u) << port;
    EXPECT_EQ(row["serial_number"], std::to_string(atWire[0])) << row;
    numbers.push_back(atWire[0]);
  }
  std::sort(numbers.begin(), numbers.end());
  for (std::size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], kFirstNumber + i);
  EXPECT_EQ(IniFile(dir() + "/sysconfig.ini").readString("ParaDefault", "DeviceSerialNo", ""),
            std::to_string(kFirstNumber + 6));

  // One printer's events, whole, in order; its port carries its label.
  std::vector<Json> first;
  std::copy_if(events.begin(), events.end(), std::back_inserter(first),
               [](const Json& event) { return event["port"] == "1-1" && event["event"] != "progress"; });
  const auto action = [](const std::string& name, const std::string& state) {
    return Json{{"event", "action"}, {"port", "1-1"}, {"label", "A1"}, {"action", name}, {"state", state}};
  };
  ASSERT_EQ(first.size(), 8u);
  EXPECT_EQ(first[0],
            (Json{{"event", "arrived"}, {"port", "1-1"}, {"label", "A1"}, {"identity", "VID_0FE6&PID_811E"}}));
  // Each action ends with its status text; the identification has none.
  const std::vector<std::pair<std::string, std::string>> actions{
      {"btn_Test", ""}, {"btn_SetCodepage", "设置代码页成功"}, {"btn_SetDevicePara", "设置设备参数成功"}};
  for (std::size_t i = 0; i < actions.size(); ++i) {
    const auto& [name, text] = actions[i];
    EXPECT_EQ(first[1 + 2 * i], action(name, "started"));
    Json ended = action(name, "ended");
    ended["ok"] = true;
    ended["text"] = text;
    EXPECT_EQ(first[2 + 2 * i], ended);
  }
  EXPECT_EQ(first[7]["event"], "row");
  EXPECT_EQ(first[7]["label"], "A1");
}

TEST_F(Station, AnUnpluggedAndAHangingPrinterHoldNobodyUpAndTheUnpluggedOnesNumberIsNeverGivenAgain) {
  start();
  // It never answers its code page: its slot waits out every attempt.
  const std::string hanging = plug({"--ignore", "128"});
  // Its device write goes out and is never answered: it leaves meanwhile.
  const std::string leaving = plug({"--ignore", "133"});
  const std::string first = plug();
  ASSERT_NO_FATAL_FAILURE(readUntil([&] { return started(leaving, "btn_SetDevicePara"); }));
  std::this_thread::sleep_for(100ms);
  unplug(leaving);
  ASSERT_NO_FATAL_FAILURE(readUntil([&] { return rows().size() == 3; }));
  const std::string second = plug();
  ASSERT_NO_FATAL_FAILURE(readUntil([&] { return rows().size() == 4; }));
  EXPECT_EQ(stop(), 1);

  std::map<std::string, std::string> results;
  for (const Json& row : rows()) results[row["port"]] = row["result"];
  EXPECT_EQ(results, (std::map<std::string, std::string>{
                         {hanging, "failed"}, {leaving, "removed"}, {first, "passed"}, {second, "passed"}}));
  // The hanging printer arrived first, yet the one after it finished first.
  EXPECT_EQ(rows()[0]["port"], first);
  EXPECT_TRUE(numbersAtWire(printer(hanging)).empty());
  // Its write's attempts all carry the one number it holds.
  auto sent = numbersAtWire(printer(leaving));
  const std::vector<std::uint32_t> held(sent.begin(), std::unique(sent.begin(), sent.end()));
  ASSERT_EQ(held.size(), 1u);
  const std::vector<std::uint32_t> passed{numbersAtWire(printer(first)).at(0), numbersAtWire(printer(second)).at(0)};
  EXPECT_NE(passed[0], passed[1]);
  for (const std::uint32_t number : passed) EXPECT_NE(number, held[0]);
  EXPECT_NE(fileContent(log()).find(R"("serial_number":")" + std::to_string(held[0]) + R"(","outcome":"unknown")"),
            std::string::npos);
}

TEST_F(Station, AStationKilledMidWriteNeverGivesItsHeldNumberAgainAndLogsItUnknown) {
  start();
  const std::string hung = plug({"--ignore", "133"});
  ASSERT_NO_FATAL_FAILURE(readUntil([&] { return started(hung, "btn_SetDevicePara"); }));
  std::this_thread::sleep_for(100ms);
  station_->sendSignal(SIGKILL);
  ASSERT_TRUE(station_->waitForExit(20s).has_value());
  EXPECT_EQ(numbersAtWire(printer(hung)), std::vector<std::uint32_t>{kFirstNumber});

  start();
  const std::string next = plug();
  ASSERT_NO_FATAL_FAILURE(readUntil([&] { return rows().size() == 1; }));
  EXPECT_EQ(stop(), 0);
  EXPECT_EQ(numbersAtWire(printer(next)), std::vector<std::uint32_t>{kFirstNumber + 1});
  EXPECT_NE(fileContent(log()).find(R"("serial_number":")" + std::to_string(kFirstNumber) + R"(","outcome":"unknown")"),
            std::string::npos)
      << fileContent(log());
}

// Plain lines, as a script without --json reads them: with one slot they are
// the lines as ever, without a port, and two printers plugged in together
// are set up one after the other. The actions' device write takes its number
// as a recipe's does.
TEST_F(Station, WithOneSlotTwoPrintersRunInTurnAndThePlainLinesNameNoPort) {
  ChildProcess line(builtProgram("ombrelctl"),
                    {"--dir", dir(), "--each-arrival", "--slots", "1", "btn_SetCodepage", "btn_SetDevicePara"},
                    kScaled);
  ASSERT_EQ(line.readLine(20s), "等待 USB 打印机；按 Ctrl-C 结束");
  const std::string one = plug();
  const std::string two = plug();
  const std::string setUp = "USB 打印机 VID_0FE6&PID_811E 已设置";
  std::vector<std::string> lines;
  while (std::count(lines.begin(), lines.end(), setUp) < 2) {
    const auto next = line.readLine(20s);
    ASSERT_TRUE(next.has_value());
    if (next->find("已插入") == std::string::npos) lines.push_back(*next);
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"设置代码页成功", "设置设备参数成功", setUp, "设置代码页成功",
                                             "设置设备参数成功", setUp}));
  line.sendSignal(SIGINT);
  const auto ended = line.waitForExit(20s);
  ASSERT_TRUE(ended.has_value());
  EXPECT_EQ(ended->code, 0);
  auto numbers = numbersAtWire(printer(one));
  const auto second = numbersAtWire(printer(two));
  numbers.insert(numbers.end(), second.begin(), second.end());
  std::sort(numbers.begin(), numbers.end());
  EXPECT_EQ(numbers, (std::vector<std::uint32_t>{kFirstNumber, kFirstNumber + 1}));
}

}  // namespace
}  // namespace ombrel::test_support

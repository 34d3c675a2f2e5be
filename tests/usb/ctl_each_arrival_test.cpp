// ombrelctl --each-arrival under the USB test bed: identical printers told
// apart by their ports, several set up at once, each device write numbered
// by the station's allocator, with its events as JSON lines.

#include <nlohmann/json.hpp>

#include <algorithm>
#include <csignal>
#include <map>
#include <thread>

#include "e2e/ctl_fixture.h"
#include "texts/ini_file.h"
#include "usb/arrival_station.h"

namespace ombrel::test_support {
namespace {

using namespace std::chrono_literals;
using Json = ArrivalStation::Json;

// A station on the test's own program directory.
class Station : public CtlTest, public ArrivalStation {
 protected:
  Station() : ArrivalStation(dir()) {}
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
  process->sendSignal(SIGKILL);
  ASSERT_TRUE(process->waitForExit(20s).has_value());
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
                    kStationScale);
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

// A station's slots under the USB test bed: two identical printers, each
// with an engine bound to its port, each behind a slow virtual printer. The
// notices of another printer leaving and a third arriving leave the first
// slot's task alone; the second slot's own printer leaving fails its task,
// whose trace is then kept.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <thread>

#include "commands/station_slot.h"
#include "e2e/virtual_printer.h"
#include "engine/recording_host.h"
#include "platform/event_loop_thread.h"
#include "settings/temp_dir.h"
#include "usb/usb_testbed.h"

namespace ombrel {
namespace {

using namespace std::chrono_literals;
using test_support::OnPty;
using test_support::UsbTestbed;
using test_support::VirtualPrinter;
using testing_support::RecordingHost;

bool eventually(const std::function<bool()>& done) {
  for (auto deadline = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < deadline;) {
    if (done()) return true;
    std::this_thread::sleep_for(10ms);
  }
  return done();
}

std::vector<int> commandsAt(const VirtualPrinter& printer) {
  std::vector<int> commands;
  for (const auto& received : printer.received()) commands.push_back(received.command);
  return commands;
}

struct Slot {
  Slot(EventLoopThread& loop, Clock& clock, const std::string& dir, const std::string& port) {
    host.setLink(slotLinkSettings(port));
    slot = std::make_unique<StationSlot>(loop, host, host, clock, dir, UsbDeviceName{"VID_0FE6&PID_811E", port});
  }
  RecordingHost host;
  std::unique_ptr<StationSlot> slot;
};

TEST(StationSlots, OtherPrintersComingAndGoingLeaveASlotsTaskAloneItsOwnLeavingFailsIt) {
  testing::TempDir dir;
  UsbTestbed bed;
  // Every reply comes late, within the 600 ms an identification waits: the
  // code page task runs for two of them.
  const std::vector<std::string> slow{"--baud", "38400", "--delay", "350"};
  VirtualPrinter first(OnPty{}, slow);
  VirtualPrinter second(OnPty{}, slow);
  VirtualPrinter third(OnPty{}, {"--baud", "38400"});
  bed.addDevice("1-1", "0fe6", "811e", 0, first.ptyPath());
  const std::string secondDevice = bed.addDevice("1-2", "0fe6", "811e", 1, second.ptyPath());

  EventLoopThread loop;
  ScaledClock clock{1.0};
  const std::string appDir = dir.path().string() + "/";
  Slot one(loop, clock, appDir, "1-1");
  Slot two(loop, clock, appDir, "1-2");
  ASSERT_TRUE(one.slot->engine().StartTask(6, 1, 0));
  ASSERT_TRUE(two.slot->engine().StartTask(6, 1, 0));
  ASSERT_TRUE(eventually([&] { return !first.received().empty() && !second.received().empty(); }));

  bed.removeDevice(secondDevice);
  bed.addDevice("1-3", "0fe6", "811e", 2, third.ptyPath());
  // Both notices reached the first slot's engine while its task ran.
  ASSERT_TRUE(eventually([&] { return one.host.usbListsShown().size() >= 3; }));
  EXPECT_TRUE(one.host.outcomes().empty());

  ASSERT_TRUE(one.host.waitForTaskEnds(1));
  ASSERT_TRUE(two.host.waitForTaskEnds(1));
  EXPECT_EQ(one.host.outcomes().at(0).result, kTaskOk) << one.host.outcomes().at(0).text;
  EXPECT_EQ(two.host.outcomes().at(0).kind, FailureKind::NoReply);
  ASSERT_EQ(commandsAt(first), (std::vector<int>{48, 128}));
  EXPECT_EQ(first.received().at(1).bytes, "02 00 80 00 00 00 00 00 00 00 00 00 01 00 83 00 01 01");
  EXPECT_TRUE(third.received().empty());

  // The failed printer's trace is kept whole under the time and its port.
  const std::string kept = two.slot->keepFailedTrace();
  EXPECT_TRUE(
      std::regex_match(std::filesystem::path(kept).filename().string(), std::regex(R"(\d{8}-\d{6}\.\d{3}-1-2\.log)")))
      << kept;
  EXPECT_EQ(std::filesystem::path(kept).parent_path(), dir / "traces");
  const std::string trace = testing::readFile(two.slot->tracePath());
  // From the identification sent to the close, the task's last line.
  EXPECT_EQ(trace.rfind("Send 25 Bytes", 0), 0u);
  EXPECT_NE(trace.find("\r\nClose"), std::string::npos);
  EXPECT_EQ(testing::readFile(kept), trace);
  EXPECT_EQ(two.slot->tracePath(), appDir + "debug-1-2.log");
}

}  // namespace
}  // namespace ombrel

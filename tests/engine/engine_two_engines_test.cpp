// Two engines in one process, each with its own ports and trace file, as a
// station with several printers runs them: tasks at the same time on both,
// while the language of the shared message texts changes under them.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "engine/comm_thread.h"
#include "fake_serial_printer.h"
#include "fake_udp_printer.h"
#include "fake_usb_printer.h"
#include "platform/clock.h"
#include "platform/event_loop_thread.h"
#include "protocol/frame.h"
#include "recording_host.h"
#include "settings/temp_dir.h"
#include "texts/message_texts.h"

namespace ombrel::testing_support {
namespace {

// One printer's engine with everything of its own.
struct Station {
  Station(EventLoopThread& loop, Clock& clock, const std::string& comName, const std::filesystem::path& trace)
      : printer(loop), usb(loop), tracePath(trace) {
    LinkSettings link;
    link.comName = comName;
    host.setLink(link);
    engine = std::make_unique<TCommThread>(loop, host, host, TCommThread::Ports{printer, usb, udp}, clock, trace);
  }

  FakeSerialPrinter printer;
  FakeUsbPrinter usb;
  FakeUdpPrinter udp;
  RecordingHost host;
  std::filesystem::path tracePath;
  std::unique_ptr<TCommThread> engine;
};

TEST(TwoEngines, RunTasksAtOnceEachOnItsOwnPrinterAndTrace) {
  const testing::TempDir dir;  // of its own: other builds run this test at the same time
  EventLoopThread loop;
  ScaledClock clock{50.0};
  Station first(loop, clock, "/dev/ttyFAKE1", dir / "first.log");
  Station second(loop, clock, "/dev/ttyFAKE2", dir / "second.log");
  // The second printer never answers command 121.
  second.printer.ignoreCommand(121);

  // The operator switches the language back and forth meanwhile.
  const std::string chinese = messageTexts().text("sMsg17");
  std::atomic<bool> switching{true};
  std::thread languages([&] {
    for (bool english = true; switching; english = !english) {
      messageTexts().setText("sMsg17", english ? "Code page set" : chinese);
      std::this_thread::yield();
    }
  });

  constexpr std::size_t kRounds = 5;
  for (std::size_t round = 1; round <= kRounds; ++round) {
    ASSERT_TRUE(first.engine->StartTask(6, 1, 0));
    ASSERT_TRUE(second.engine->StartTask(10, 0, 0));
    ASSERT_TRUE(first.host.waitForTaskEnds(round));
    ASSERT_TRUE(second.host.waitForTaskEnds(round));
  }
  switching = false;
  languages.join();
  messageTexts().setText("sMsg17", chinese);

  for (const TaskOutcome& outcome : first.host.outcomes()) {
    EXPECT_EQ(outcome.result, kTaskOk);
    EXPECT_EQ(outcome.printerIdentity, "AB");
  }
  for (const TaskOutcome& outcome : second.host.outcomes()) {
    EXPECT_EQ(outcome.kind, FailureKind::NoReply);
    EXPECT_EQ(outcome.text, "Download Data Failed");
  }
  EXPECT_EQ(first.host.outcomes().size(), kRounds);
  EXPECT_EQ(second.host.outcomes().size(), kRounds);
  const std::string status = first.engine->statusText();
  EXPECT_TRUE(status == chinese || status == "Code page set") << status;
  EXPECT_EQ(first.engine->errorText(), "");

  // Each trace names its own port only, and each printer got its own task.
  const std::string firstTrace = testing::readFile(first.tracePath);
  const std::string secondTrace = testing::readFile(second.tracePath);
  EXPECT_EQ(firstTrace.rfind("Open/dev/ttyFAKE1 ", 0), 0u) << firstTrace.substr(0, 80);
  EXPECT_EQ(secondTrace.rfind("Open/dev/ttyFAKE2 ", 0), 0u) << secondTrace.substr(0, 80);
  EXPECT_EQ(firstTrace.find("ttyFAKE2"), std::string::npos);
  EXPECT_EQ(secondTrace.find("ttyFAKE1"), std::string::npos);
  for (const auto& write : first.printer.writes()) EXPECT_NE(frame::readHead(write.data()).command, 121);
  for (const auto& write : second.printer.writes()) EXPECT_NE(frame::readHead(write.data()).command, 128);

  first.engine.reset();
  second.engine.reset();
  loop.send([] {});
}

}  // namespace
}  // namespace ombrel::testing_support

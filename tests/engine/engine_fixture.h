#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "engine/comm_thread.h"
#include "protocol/frame.h"
#include "fake_serial_printer.h"
#include "platform/clock.h"
#include "platform/event_loop_thread.h"
#include "fake_udp_printer.h"
#include "fake_usb_printer.h"
#include "recording_host.h"
#include "settings/temp_dir.h"

namespace ombrel::testing_support {

// An engine on a scripted serial printer, with protocol time running fast.
class EngineFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    LinkSettings link;
    link.transport = Transport::Serial;
    link.comName = "/dev/ttyFAKE0";
    link.devBaud = 9600;
    link.tranBaud = 115200;
    host.setLink(link);
    engine = std::make_unique<TCommThread>(loop, host, host, TCommThread::Ports{printer, usb, udp}, clock,
                                           dir_ / "debug.log");
  }
  void TearDown() override {
    engine.reset();
    loop.send([] {});  // everything the engine posted has been handled
  }

  void runTask(int code, int a = 0, int b = 0, Bytes payload = {}) {
    const std::size_t before = ends_++;
    ASSERT_TRUE(engine->StartTask(code, a, b, std::move(payload)));
    ASSERT_TRUE(host.waitForTaskEnds(before + 1));
  }

  std::string debugLog() const { return testing::readFile(dir_ / "debug.log"); }

  // The command numbers of the frames written, in order.
  std::vector<int> commandsSent() const {
    std::vector<int> commands;
    for (const auto& write : printer.writes()) {
      if (write.size() >= frame::kHeadSize && write[0] == 0x02) {
        commands.push_back(frame::readHead(write.data()).command);
      }
    }
    return commands;
  }

  // How many frames of `command` were written.
  int framesSent(int command) const {
    const auto commands = commandsSent();
    return static_cast<int>(std::count(commands.begin(), commands.end(), command));
  }

  // Once `count` frames of `command` are written, the operator cancels from
  // another thread; returns when the running task has ended.
  void cancelAfterFrames(int command, int count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (framesSent(command) < count && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::thread operatorThread([this] { engine->requestCancel(); });
    operatorThread.join();
    ASSERT_TRUE(host.waitForTaskEnds(++ends_));
  }

  Message lastMessage() { return host.snapshot().back(); }

  void useTransport(Transport transport) {
    LinkSettings link = host.linkSettings();
    link.transport = transport;
    link.usbDevice = "VID_0483&PID_811E";
    host.setLink(link);
  }

  // Whether `id` was among the messages, and with which wParam.
  bool received(EngineMessage id) {
    for (const auto& m : host.snapshot()) {
      if (m.id == id) return true;
    }
    return false;
  }

  EventLoopThread loop;
  ScaledClock clock{50.0};
  FakeSerialPrinter printer{loop};
  FakeUsbPrinter usb{loop};
  FakeUdpPrinter udp;
  RecordingHost host;
  std::unique_ptr<TCommThread> engine;

 private:
  // A directory of its own: tests of one name in other suites, builds or
  // checkouts run at the same time.
  testing::TempDir dir_;
  std::size_t ends_ = 0;
};

}  // namespace ombrel::testing_support

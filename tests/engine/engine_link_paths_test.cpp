// How bytes travel between the engine and its links: replies straight from
// the port to the waiting task, the engine going while a printer talks, and
// writes longer than one port call or datagram carries.

#include <atomic>
#include <future>
#include <thread>

#include "engine/engine_ports.h"
#include "engine_fixture.h"
#include "protocol/codes.h"

namespace ombrel::testing_support {
namespace {

using namespace std::chrono_literals;
using ReplyPath = EngineFixture;

bool hasEvent(const std::vector<std::string>& events, const std::string& event) {
  return std::find(events.begin(), events.end(), event) != events.end();
}

TEST_F(ReplyPath, ReplyReachesTheTaskWhileTheOwnersThreadIsBlocked) {
  std::promise<void> blocked;
  std::promise<void> release;
  loop.post([&blocked, released = release.get_future().share()] {
    blocked.set_value();
    released.wait();
  });
  blocked.get_future().wait();
  ASSERT_TRUE(engine->StartTask(kTaskSetCodePage, 1, 0));
  // The whole task, up to closing the port, runs while the window is busy.
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!hasEvent(printer.events(), "close") && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(2ms);
  }
  release.set_value();
  ASSERT_TRUE(host.waitForTaskEnds(1));
  EXPECT_EQ(lastMessage().id, kTaskSucceeded);
  EXPECT_EQ(commandsSent(), (std::vector<int>{kCmdSwitchRate, kCmdIdentify, kCmdCodePage, kCmdSwitchRate}));
}

// The printer keeps talking from a thread of its own while the engine goes:
// no handler of the engine may run once it is gone.
class EngineShutdown : public EngineFixture {
 protected:
  void destroyEngineWhileThePrinterTalks() {
    std::atomic<bool> talking{true};
    std::thread talker([&] {
      while (talking) {
        printer.deliver({0x55, 0xAA});
        std::this_thread::sleep_for(50us);
      }
    });
    std::this_thread::sleep_for(20ms);
    engine.reset();
    loop.send([] {});
    idleAfterEngine_ = host.idle().size();
    std::this_thread::sleep_for(20ms);
    talking = false;
    talker.join();
    loop.send([] {});
  }
  std::size_t idleAfterEngine_ = 0;
};

TEST_F(EngineShutdown, BetweenTasks) {
  destroyEngineWhileThePrinterTalks();
  EXPECT_GT(idleAfterEngine_, 0u) << "the window saw the printer talk while the engine was there";
  EXPECT_EQ(host.idle().size(), idleAfterEngine_) << "nothing reached the window once the engine was gone";
}

TEST_F(EngineShutdown, InBootModeWithThePortLeftOpen) {
  printer.answerBootByteAfter(1);
  runTask(kTaskBootHandshake);
  printer.openPort();  // the port as boot mode leaves it when the loader stays quiet
  destroyEngineWhileThePrinterTalks();
  EXPECT_TRUE(host.idle().empty()) << "boot-mode bytes belong to the handshake";
}

struct LongWriteCase {
  Transport transport;
  std::vector<std::size_t> pieces;
};

class LongWrites : public EngineFixture, public ::testing::WithParamInterface<LongWriteCase> {
 protected:
  // Sizes of what reached each transport, in order.
  std::vector<std::size_t> piecesWritten(Transport transport) {
    std::vector<std::size_t> sizes;
    if (transport == Transport::Serial) {
      for (const auto& write : printer.writes()) sizes.push_back(write.size());
    } else if (transport == Transport::Network) {
      for (const auto& datagram : udp.datagrams()) sizes.push_back(datagram.size());
    } else {
      for (const auto& event : usb.events()) {
        if (event.rfind("send ", 0) == 0) sizes.push_back((event.size() - 5 + 1) / 3);
      }
    }
    return sizes;
  }
};

TEST_P(LongWrites, AreSplitIntoWhatOneCallCarries) {
  useTransport(GetParam().transport);
  Trace trace;
  ReplyChannel reply;
  std::uint32_t rate = 9600;
  auto link = EnginePorts({printer, usb, udp}).makeLink(host.linkSettings(), LinkParts{clock, trace, reply, rate});
  link->open(9600, false);
  link->write(Bytes(70000, 0x5A));
  EXPECT_EQ(piecesWritten(GetParam().transport), GetParam().pieces);
}

INSTANTIATE_TEST_SUITE_P(Table, LongWrites,
                         ::testing::Values(LongWriteCase{Transport::Serial, {65535, 4465}},
                                           LongWriteCase{Transport::Usb, {65535, 4465}},
                                           LongWriteCase{Transport::Network, {65507, 4493}}));

}  // namespace
}  // namespace ombrel::testing_support

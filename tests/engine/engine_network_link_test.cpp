// The engine on the network link, against a scripted UDP printer: one frame
// per datagram, frames without the data check byte, replies read by the task.

#include <functional>

#include "engine/raw_sequences.h"
#include "engine_fixture.h"
#include "protocol/codes.h"

namespace ombrel::testing_support {
namespace {

class NetworkEngine : public EngineFixture {
 protected:
  void SetUp() override {
    EngineFixture::SetUp();
    useTransport(Transport::Network);
  }

  std::vector<std::string> datagramsHex() const {
    std::vector<std::string> hex;
    for (const auto& datagram : udp.datagrams()) hex.push_back(toHex(datagram));
    return hex;
  }
};

const std::vector<std::string> kOpenedAndClosed = {"remote 192.168.1.87:5100", "activate", "deactivate"};
const std::string kIdentify =
    toHex(frame::build(kCmdIdentify, 0, 0, {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, false));

struct NetworkCase {
  const char* name;
  int code;
  int a;
  std::function<void(FakeUdpPrinter&)> printerSetUp;
  std::vector<std::string> datagrams;
  EngineMessage end;
  std::string failure;
};

const std::vector<NetworkCase> kCases = {
    {"framed task",
     kTaskSetCodePage,
     0xFF,
     [](FakeUdpPrinter&) {},
     {kIdentify, "02 00 80 00 00 00 00 00 00 00 00 00 01 00 83 00 FF"},
     kTaskSucceeded,
     ""},
    {"silent printer",
     kTaskSetCodePage,
     1,
     [](FakeUdpPrinter& p) { p.ignoreCommand(kCmdIdentify); },
     {kIdentify},
     kTaskFailed,
     "Received Failed"},
    {"15-byte reply",
     kTaskSetCodePage,
     1,
     [](FakeUdpPrinter& p) { p.answerWith(Bytes(15, 0x02)); },
     {kIdentify},
     kTaskFailed,
     "Received Failed"},
    {"unacknowledged command",
     kTaskRestoreDefaults,
     0,
     [](FakeUdpPrinter& p) { p.ignoreCommand(kCmdRestoreDefaults); },
     {kIdentify, "02 00 79 00 00 00 00 00 00 00 00 00 00 00 7B 00", "02 00 79 00 00 00 00 00 00 00 00 00 00 00 7B 00",
      "02 00 79 00 00 00 00 00 00 00 00 00 00 00 7B 00"},
     kTaskFailed,
     "Download Data Failed"},
    {"raw sequence",
     kTaskBlackMarkOn,
     0,
     [](FakeUdpPrinter&) {},
     {kIdentify, toHex(raw::rawTaskBytes(kTaskBlackMarkOn, {}))},
     kTaskSucceeded,
     ""},
};

class NetworkTasks : public NetworkEngine, public ::testing::WithParamInterface<NetworkCase> {};

TEST_P(NetworkTasks, GoOutOneFramePerDatagram) {
  const NetworkCase& c = GetParam();
  SCOPED_TRACE(c.name);
  c.printerSetUp(udp);
  runTask(c.code, c.a);
  EXPECT_EQ(lastMessage().id, c.end);
  if (c.end == kTaskFailed) {
    EXPECT_EQ(lastMessage().text, c.failure);
  }
  EXPECT_EQ(datagramsHex(), c.datagrams);
  EXPECT_EQ(udp.events(), kOpenedAndClosed);
  EXPECT_TRUE(printer.events().empty()) << "the serial port is not touched";
}

INSTANTIATE_TEST_SUITE_P(Table, NetworkTasks, ::testing::ValuesIn(kCases));

TEST_F(NetworkEngine, RepliesAreTracedAndTheIdentityRead) {
  runTask(kTaskSetCodePage, 1);
  EXPECT_EQ(engine->printerIdentity(), "AB");
  const std::string log = debugLog();
  EXPECT_EQ(log.rfind("Send 24 Bytes", 0), 0u) << log;
  EXPECT_NE(log.find("Receive 25 Bytes"), std::string::npos);
  EXPECT_NE(log.find("Send 17 Bytes"), std::string::npos);
  EXPECT_EQ(log.find("Open"), std::string::npos);
  EXPECT_EQ(log.find("Close"), std::string::npos);
}

TEST_F(NetworkEngine, AReplySetAsideBeforeASendIsTracedWhereItArrived) {
  udp.duplicateReplies();
  runTask(kTaskSetCodePage, 1);
  EXPECT_EQ(lastMessage().id, kTaskSucceeded);
  std::vector<std::string> heads;
  std::istringstream log(debugLog());
  for (std::string line; std::getline(log, line);) {
    if (line.find(" Bytes ") != std::string::npos) heads.push_back(line.substr(0, line.find(" Bytes")));
  }
  EXPECT_EQ(heads, (std::vector<std::string>{"Send 24", "Receive 25", "Receive 25", "Send 17", "Receive 16"}));
}

TEST_F(NetworkEngine, LinkTestReportsTheAddress) {
  runTask(kTaskLinkTest);
  std::vector<std::string> statuses;
  for (const auto& m : host.snapshot()) {
    if (m.id == kStatusChanged) statuses.push_back(m.text);
  }
  EXPECT_EQ(statuses, (std::vector<std::string>{"Checking192.168.1.87:5100", "192.168.1.87:5100 Found"}));
  EXPECT_TRUE(received(kLinkTestSucceeded));
}

}  // namespace
}  // namespace ombrel::testing_support

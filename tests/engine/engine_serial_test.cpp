// The engine on a serial link, against a scripted printer.

#include <functional>

#include "engine_fixture.h"

namespace ombrel::testing_support {
namespace {

using SerialEngine = EngineFixture;

TEST_F(SerialEngine, FramedTaskSwitchesRateIdentifiesSendsAndSwitchesBack) {
  runTask(6, 0xFF);
  EXPECT_EQ(lastMessage().id, kTaskSucceeded);
  EXPECT_EQ(commandsSent(), (std::vector<int>{49, 48, 128, 49}));
  const auto writes = printer.writes();
  EXPECT_EQ(toHex(writes[0]), "02 00 31 00 04 00 00 00 00 00 00 00 00 00 37 00");
  EXPECT_EQ(toHex(writes[2]), toHex(frame::build(128, 0, 0, {0xFF}, true)));
  EXPECT_EQ(writes[3][4], 0);  // back to index 0, 9600
  const auto events = printer.events();
  EXPECT_EQ(events.front(), "open /dev/ttyFAKE0@9600");
  EXPECT_EQ(events.back(), "close");
  EXPECT_NE(std::find(events.begin(), events.end(), "rate 115200"), events.end());
  EXPECT_EQ(printer.baudRate(), 9600u);
  EXPECT_EQ(engine->statusText(), "设置代码页成功");
  EXPECT_EQ(engine->printerIdentity(), "AB");

  const std::string log = debugLog();
  EXPECT_EQ(log.rfind("Open/dev/ttyFAKE0 ", 0), 0u) << log;
  EXPECT_NE(log.find("\r\nClose/dev/ttyFAKE0 "), std::string::npos);
  EXPECT_NE(log.find("Send 16 Bytes"), std::string::npos);
  EXPECT_NE(log.find("Receive 25 Bytes"), std::string::npos);
}

TEST_F(SerialEngine, EqualRatesSendNoRateCommand) {
  LinkSettings link = host.linkSettings();
  link.tranBaud = 9600;
  host.setLink(link);
  runTask(10);
  EXPECT_EQ(commandsSent(), (std::vector<int>{48, 121}));
}

TEST_F(SerialEngine, NoiseBeforeRepliesIsSkipped) {
  printer.setReplyPrefixNoise({0xFF, 0x13});
  runTask(6, 1);
  EXPECT_EQ(lastMessage().id, kTaskSucceeded);
}

// How a serial task fails: its end names the kind that decisions read and
// the text that operators see.
struct FailureCase {
  const char* name;
  std::function<void(FakeSerialPrinter&, LinkSettings&)> setUp;
  FailureKind kind;
  const char* text;
  std::vector<int> commands;
};

class SerialFailures : public EngineFixture, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SerialFailures, EndTheTaskWithTheirKindAndText) {
  LinkSettings link = host.linkSettings();
  GetParam().setUp(printer, link);
  host.setLink(link);
  runTask(10);
  const Message end = lastMessage();
  EXPECT_EQ(end.id, kTaskFailed);
  EXPECT_EQ(end.wParam, kTaskFailedWithText);
  EXPECT_EQ(end.text, GetParam().text);
  EXPECT_EQ(host.outcomes().back().kind, GetParam().kind);
  EXPECT_EQ(host.outcomes().back().text, GetParam().text);
  EXPECT_EQ(commandsSent(), GetParam().commands);
  EXPECT_FALSE(engine->linkOpen());
  // A refused rate leaves the port at the printer's.
  if (GetParam().kind == FailureKind::RateChangeRefused) {
    EXPECT_EQ(printer.baudRate(), 9600u);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SerialFailures,
    ::testing::Values(FailureCase{"UnansweredCommand",
                                  [](FakeSerialPrinter& p, LinkSettings&) { p.ignoreCommand(121); },
                                  FailureKind::NoReply,
                                  "Download Data Failed",
                                  {49, 48, 121, 121, 121}},
                      FailureCase{"RefusedRate",
                                  [](FakeSerialPrinter& p, LinkSettings&) { p.ignoreCommand(49); },
                                  FailureKind::RateChangeRefused,
                                  "Set Baudrate Failed",
                                  {49}},
                      FailureCase{"SilentIdentification",
                                  [](FakeSerialPrinter& p, LinkSettings& link) {
                                    link.tranBaud = 9600;
                                    p.ignoreCommand(48);
                                  },
                                  FailureKind::NoReply,
                                  "Received Failed",
                                  {48}},
                      FailureCase{"PortThatCannotOpen",
                                  [](FakeSerialPrinter&, LinkSettings& link) { link.comName = "missing"; },
                                  FailureKind::PortWouldNotOpen,
                                  "Error opening serial port",
                                  {}}),
    [](const ::testing::TestParamInfo<FailureCase>& row) { return std::string(row.param.name); });

TEST_F(SerialEngine, NewPrinterRateIsUsedByTheNextTask) {
  runTask(8, 2);  // 38400
  EXPECT_EQ(lastMessage().id, kTaskSucceeded);
  EXPECT_EQ(commandsSent(), (std::vector<int>{49, 48, 129}));  // no switch back
  EXPECT_EQ(host.devBaud(), 38400);
  runTask(10);
  const auto events = printer.events();
  EXPECT_NE(std::find(events.begin(), events.end(), "open /dev/ttyFAKE0@38400"), events.end());
  const auto writes = printer.writes();
  EXPECT_EQ(writes.back()[4], 2);  // switched back to 38400's code
}

TEST_F(SerialEngine, RawTaskReopensThePortAndWritesWithoutWaiting) {
  runTask(6, 1);
  runTask(43);
  EXPECT_EQ(lastMessage().id, kTaskSucceeded);
  EXPECT_EQ(engine->statusText(), "设置流控成功");
  EXPECT_EQ(toHex(printer.writes().back()), "02 00 8D 00 00 00 00 00 00 00 00 00 01 00 8E 00 01 01");
}

TEST_F(SerialEngine, BytesBetweenTasksGoToTheWindowUntraced) {
  runTask(6, 1);
  printer.deliver(bytesOf("hello\n"));
  runTask(0);  // the delivery is handled on the owner's thread before this task starts
  EXPECT_EQ(host.idle(), bytesOf("hello\n"));
  EXPECT_EQ(debugLog().find("Receive"), std::string::npos);
}

using BootHandshake = EngineFixture;

TEST_F(BootHandshake, SendsTheBootByteUntilTheLoaderAnswers) {
  printer.answerBootByteAfter(5);
  runTask(28);
  EXPECT_EQ(lastMessage().id, kTaskSucceeded);
  EXPECT_EQ(engine->bootReply(), "151");
  const auto writes = printer.writes();
  ASSERT_GE(writes.size(), 5u);
  for (const auto& write : writes) EXPECT_EQ(write, Bytes{0x61});
  EXPECT_FALSE(printer.isOpen());                                  // closed once the loader answered
  EXPECT_EQ(printer.events().front(), "open /dev/ttyFAKE0@9600");  // at the printer's own rate

  engine->finishBootMode();
  EXPECT_EQ(engine->bootReply(), "");
  EXPECT_FALSE(engine->linkOpen());
}

TEST_F(BootHandshake, AfterwardsASettingsTaskStillChecksItsReplies) {
  printer.answerBootByteAfter(1);
  runTask(28);
  engine->finishBootMode();
  engine->stopRawReceive();
  printer.ignoreCommand(48);
  printer.ignoreCommand(49);
  printer.ignoreCommand(121);
  runTask(10);
  EXPECT_EQ(lastMessage().id, kTaskFailed);
  EXPECT_FALSE(engine->repliesChecked()) << "the next program update still goes unchecked";
}

}  // namespace
}  // namespace ombrel::testing_support
